#include "tests/support/MouseInput.h"

#include "tests/support/HostCommand.h"
#include "tests/support/Pump.h"

namespace {

constexpr POINT kParkingSpot{5, 1000}; // below every test window on the 1280 by 1024 display

constexpr DWORD kInputTimeoutMs = 5000;

} // namespace

bool Xdo(const std::wstring& args) {
    CHostCommand xdotool(L"xdotool " + args);
    return PumpUntil([&] { return xdotool.Finished(); }, kInputTimeoutMs);
}

void MoveMouse(POINT screen) {
    wchar_t args[64];
    wsprintfW(args, L"mousemove %ld %ld", screen.x, screen.y);
    Xdo(args);
}

void MoveMouse(HWND hwnd, int x, int y) {
    POINT pt{x, y};
    ClientToScreen(hwnd, &pt);
    MoveMouse(pt);
}

void LeftDown() {
    Xdo(L"mousedown 1");
}

void LeftUp() {
    Xdo(L"mouseup 1");
}

void DoubleClick() {
    Xdo(L"click --repeat 2 --delay 60 1");
}

void ParkMouse() {
    MoveMouse(kParkingSpot);
    Pump(30);
}
