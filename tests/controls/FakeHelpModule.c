/* Stand-in for the system help program, which carries the hand cursor the link labels borrow.
   The test prefix has no such program in the Windows folder; tests put this one there. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
