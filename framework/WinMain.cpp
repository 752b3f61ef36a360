// The process entry of a framework application: everything happens in the global
// application object's InitInstance, Run and ExitInstance.
#include "framework/WinApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE prev, LPWSTR cmdLine, int cmdShow) {
    return AfxWinMain(instance, prev, cmdLine, cmdShow);
}
