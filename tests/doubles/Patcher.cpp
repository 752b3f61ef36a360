// Stands in for the game's patcher: writes down how it was started and ends.
#include <windows.h>

#include "tests/doubles/Arguments.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    return RecordThisStart(L"patcher");
}
