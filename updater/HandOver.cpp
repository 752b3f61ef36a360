#include "updater/HandOver.h"

#include <array>
#include <charconv>

#include "base/Handle.h"
#include "updater/Text.h"
#include "update/UpdateConstants.h"

using namespace zv::update;

namespace {

// Five lines of at most 259 bytes and their line ends: anything larger is not ours.
constexpr DWORD kMaxHandOverBytes = 5 * (kPathBuffer + 2);

// Splits at CR LF; false unless there are exactly five lines, each ended by CR LF, and no
// other CR or LF anywhere.
bool SplitLines(std::string_view bytes, std::array<std::string_view, 5>& lines) {
    std::size_t count = 0;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find_first_of("\r\n");
        if (end == std::string_view::npos || bytes.substr(end, 2) != "\r\n" || count == 5)
            return false;
        lines[count++] = bytes.substr(0, end);
        bytes.remove_prefix(end + 2);
    }
    return count == 5;
}

// A full path as the system reports a module's: drive or network share, no relative
// parts, none of the characters a path cannot hold (a '?' is what a name outside the
// ANSI code page turns into).
bool IsAbsolutePath(std::string_view path) {
    const bool drive = path.size() >= 3 && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z') &&
                       path[1] == ':' && path[2] == '\\';
    const bool share = path.size() >= 3 && path.substr(0, 2) == "\\\\" && path[2] != '\\';
    if (!drive && !share)
        return false;
    for (const unsigned char c : path.substr(2))
        if (c < 32 ||
            std::string_view("/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    std::string_view rest = path.substr(drive ? 3 : 2);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\\');
        const std::string_view part = rest.substr(0, end);
        if (part.empty() || part == "." || part == "..")
            return false;
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
    return true;
}

bool ParseProcessId(std::string_view text, DWORD& id) {
    // "%d" of a process id: digits only, no sign, no leading zero, a positive int.
    if (text.empty() || text.size() > 10 || text[0] == '0')
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    unsigned long long value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    if (value > 0x7FFFFFFF)
        return false;
    id = static_cast<DWORD>(value);
    return true;
}

bool Refuse(std::wstring& reason, std::wstring text) {
    reason = std::move(text);
    return false;
}

} // namespace

std::string_view FolderOf(std::string_view path) {
    const std::size_t last = path.rfind('\\');
    return last == std::string_view::npos ? std::string_view() : path.substr(0, last);
}

bool ParseHandOver(std::string_view argument, std::string_view bytes, CHandOver& handOver,
                   std::wstring& reason) {
    std::array<std::string_view, 5> lines;
    if (!SplitLines(bytes, lines))
        return Refuse(reason, L"the hand-over file is not exactly five lines ending in CR LF");
    if (bytes.find('\0') != std::string_view::npos)
        return Refuse(reason, L"the hand-over file holds a zero byte");
    for (const std::string_view line : lines)
        if (line.size() >= kPathBuffer)
            return Refuse(reason, L"a line of the hand-over file is longer than a path can be");

    const std::string_view exePath = lines[0];
    const std::string_view exeDir = FolderOf(exePath);
    if (!IsAbsolutePath(exePath) || exeDir.size() + 1 >= exePath.size() || exeDir.size() < 2)
        return Refuse(reason, L"line 1 of the hand-over file is not the full path of a file: \"" +
                                  Widen(exePath) + L"\"");
    if (lines[2] != exeDir)
        return Refuse(reason, L"line 3 of the hand-over file, \"" + Widen(lines[2]) +
                                  L"\", is not the folder of line 1, \"" + Widen(exePath) + L"\"");
    const std::string updateDir = std::string(exeDir) + "\\" + kUpdateFolderName;
    if (lines[1] != updateDir)
        return Refuse(reason, L"line 2 of the hand-over file, \"" + Widen(lines[1]) +
                                  L"\", is not \"" + Widen(updateDir) + L"\"");
    const std::string expected = updateDir + "\\" + kHandOverFileName;
    if (argument != expected)
        return Refuse(reason, L"the hand-over file \"" + Widen(argument) +
                                  L"\" is not the one its lines name, \"" + Widen(expected) +
                                  L"\"");
    DWORD id = 0;
    if (!ParseProcessId(lines[3], id))
        return Refuse(reason, L"line 4 of the hand-over file, \"" + Widen(lines[3]) +
                                  L"\", is not a process id");
    if (lines[4] != "restart" && lines[4] != "no_restart")
        return Refuse(reason, L"line 5 of the hand-over file, \"" + Widen(lines[4]) +
                                  L"\", is neither \"restart\" nor \"no_restart\"");

    handOver.exePath = exePath;
    handOver.updateDir = updateDir;
    handOver.exeDir = exeDir;
    handOver.processId = id;
    handOver.restart = lines[4] == "restart";
    return true;
}

bool ReadHandOver(const char* argument, CHandOver& handOver, std::wstring& reason) {
    CKernelHandle file(CreateFileA(argument, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return Refuse(reason, L"the hand-over file \"" + Widen(argument) + L"\" cannot be read");
    std::string bytes(kMaxHandOverBytes + 1, '\0');
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes.data(), kMaxHandOverBytes + 1, &read, nullptr))
        return Refuse(reason, L"the hand-over file \"" + Widen(argument) + L"\" cannot be read");
    if (read > kMaxHandOverBytes)
        return Refuse(reason, L"the hand-over file is far larger than five lines");
    bytes.resize(read);
    FILETIME written{};
    GetFileTime(file.Get(), nullptr, nullptr, &written);
    if (!ParseHandOver(argument, bytes, handOver, reason))
        return false;
    handOver.written = written;
    return true;
}
