// Stands in for the updater library: writes down how it was started and the bytes of
// the hand-over file its argument names, and returns.
#include <fstream>
#include <iterator>

#include <windows.h>

#include "tests/doubles/Arguments.h"
#include "tests/doubles/Record.h"

namespace {

std::wstring FromAnsi(const char* text) {
    const int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (size <= 1)
        return {};
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, out.data(), size);
    out.resize(static_cast<std::size_t>(size - 1));
    return out;
}

} // namespace

// The form RUNDLL32.EXE calls; the module-definition file exports it as _ExternalUpdate@16.
extern "C" void CALLBACK ExternalUpdate(HWND, HINSTANCE, LPSTR argumentText, int) {
    CDoubleRecord record;
    record.commandLine = GetCommandLineW();
    record.argumentText = argumentText ? FromAnsi(argumentText) : std::wstring();
    record.workingFolder = CurrentFolder();
    if (argumentText) {
        std::ifstream in(argumentText, std::ios::binary);
        if (in) {
            record.handOver.assign(std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>());
            record.handOverRead = true;
        }
    }
    WriteDoubleRecord(L"updater", record);
}
