#include "tests/doubles/Arguments.h"
#include "tests/doubles/Record.h"

#include <windows.h>

std::wstring ArgumentText(const std::wstring& commandLine) {
    std::size_t at = 0;
    bool quoted = false;
    for (; at < commandLine.size(); ++at) {
        const wchar_t c = commandLine[at];
        if (c == L'"')
            quoted = !quoted;
        else if (!quoted && (c == L' ' || c == L'\t'))
            break;
    }
    while (at < commandLine.size() && (commandLine[at] == L' ' || commandLine[at] == L'\t'))
        ++at;
    return commandLine.substr(at);
}

std::wstring CurrentFolder() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(size, L'\0');
    const DWORD length = GetCurrentDirectoryW(size, folder.data());
    folder.resize(length < size ? length : 0);
    return folder;
}

int RecordThisStart(const wchar_t* name) {
    CDoubleRecord record;
    record.commandLine = GetCommandLineW();
    record.argumentText = ArgumentText(record.commandLine);
    record.workingFolder = CurrentFolder();
    return WriteDoubleRecord(name, record) ? 0 : 1;
}
