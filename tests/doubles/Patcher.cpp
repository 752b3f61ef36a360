// Stands in for the game's patcher: writes down how it was started and ends.
#include <windows.h>

#include "tests/doubles/Arguments.h"
#include "tests/doubles/Record.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    CDoubleRecord record;
    record.commandLine = GetCommandLineW();
    record.argumentText = ArgumentText(record.commandLine);
    record.workingFolder = CurrentFolder();
    return WriteDoubleRecord(L"patcher", record) ? 0 : 1;
}
