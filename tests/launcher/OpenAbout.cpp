// Opens the About box of the running launcher, as its system menu item does: for the demo's
// picture of it (keys sent on the X display reach the window manager's menu, not the
// launcher's).
#include <windows.h>

namespace {

BOOL CALLBACK PostToDialog(HWND hwnd, LPARAM) {
    wchar_t title[16] = {};
    ::GetWindowTextW(hwnd, title, 16);
    HWND owner = ::GetWindow(hwnd, GW_OWNER);
    if (::lstrcmpW(title, L"Velkor") != 0 || !owner)
        return TRUE;
    ::PostMessageW(hwnd, WM_SYSCOMMAND, 16, 0);
    return FALSE;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    return ::EnumWindows(PostToDialog, 0) ? 1 : 0;
}
