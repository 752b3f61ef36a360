#include "tests/doubles/Record.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include <windows.h>

namespace {

std::string Utf8(const std::wstring& text) {
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

std::wstring FromUtf8(const std::string& text) {
    if (text.empty())
        return {};
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

// The hand-over bytes may hold line ends of any kind, so they are written as hex.
std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char byte : bytes) {
        out += digits[byte >> 4];
        out += digits[byte & 15];
    }
    return out;
}

std::string Unhex(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        out += static_cast<char>(std::stoi(text.substr(i, 2), nullptr, 16));
    return out;
}

constexpr char kCommandLine[] = "command line: ";
constexpr char kArgumentText[] = "argument text: ";
constexpr char kWorkingFolder[] = "working folder: ";
constexpr char kHandOver[] = "hand-over: ";

} // namespace

bool WriteDoubleRecord(const wchar_t* name, const CDoubleRecord& record) {
    wchar_t folder[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(kDoubleRecordsVariable, folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    const std::wstring base =
        std::wstring(folder) + L"\\" + name + L"-" + std::to_wstring(GetCurrentProcessId());
    std::string text = kCommandLine + Utf8(record.commandLine) + "\n" + kArgumentText +
                       Utf8(record.argumentText) + "\n" + kWorkingFolder +
                       Utf8(record.workingFolder) + "\n";
    if (record.handOverRead)
        text += kHandOver + Hex(record.handOver) + "\n";
    {
        std::ofstream out(std::filesystem::path(base + L".tmp"),
                          std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!out.flush())
            return false;
    }
    // Renamed only when complete, so a reader never sees half a record.
    return MoveFileExW((base + L".tmp").c_str(), (base + L".record").c_str(),
                       MOVEFILE_REPLACE_EXISTING) != FALSE;
}

std::vector<CDoubleRecord> ReadDoubleRecords(const std::filesystem::path& folder,
                                             const std::wstring& name) {
    std::vector<std::pair<std::filesystem::file_time_type, CDoubleRecord>> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::wstring file = entry.path().filename().wstring();
        if (file.rfind(name + L"-", 0) != 0 || entry.path().extension() != L".record")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
        std::istringstream lines(text);
        CDoubleRecord record;
        for (std::string line; std::getline(lines, line);) {
            auto take = [&](const char* key, auto apply) {
                const std::string prefix = key;
                if (line.rfind(prefix, 0) == 0)
                    apply(line.substr(prefix.size()));
            };
            take(kCommandLine, [&](const std::string& v) { record.commandLine = FromUtf8(v); });
            take(kArgumentText, [&](const std::string& v) { record.argumentText = FromUtf8(v); });
            take(kWorkingFolder, [&](const std::string& v) { record.workingFolder = FromUtf8(v); });
            take(kHandOver, [&](const std::string& v) {
                record.handOver = Unhex(v);
                record.handOverRead = true;
            });
        }
        found.emplace_back(entry.last_write_time(error), std::move(record));
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<CDoubleRecord> records;
    for (auto& item : found)
        records.push_back(std::move(item.second));
    return records;
}
