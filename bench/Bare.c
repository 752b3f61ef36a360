/* Starts and ends: what a Wine process start costs by itself. */
int main(void) { return 0; }
