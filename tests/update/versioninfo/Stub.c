/* A module that exists only to carry a version resource. */
int zv_version_stub(void) { return 0; }
