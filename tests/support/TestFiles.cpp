#include "tests/support/TestFiles.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include <windows.h>

CTempFolder::CTempFolder(const std::string& prefix) {
    static std::atomic<int> counter{0};
    const fs::path base = fs::temp_directory_path();
    for (;;) {
        m_path = base / (prefix + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(counter++) + "-" + std::to_string(GetTickCount()));
        if (fs::create_directory(m_path))
            break;
    }
}

namespace {

// Plain Win32 on "\\?\" paths, so the tests' deepest folders go too.
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE listing = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (listing != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(listing, &found));
        FindClose(listing);
    }
    RemoveDirectoryW(folder.c_str());
}

} // namespace

CTempFolder::~CTempFolder() {
    RemoveTree(L"\\\\?\\" + m_path.native());
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string NoiseBytes(std::size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<char>(seed >> 24);
    }
    return bytes;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ListTree(const fs::path& root) {
    std::set<std::string> names;
    std::error_code error;
    for (auto& entry : fs::recursive_directory_iterator(root, error)) {
        std::string name = entry.path().lexically_relative(root).generic_string();
        if (entry.is_directory())
            name += "/";
        names.insert(name);
    }
    std::string list;
    for (const auto& name : names)
        list += (list.empty() ? "" : " ") + name;
    return list;
}

std::string UnixPath(const fs::path& path) {
    using Convert = char*(__cdecl*)(const wchar_t*);
    static const auto convert = reinterpret_cast<Convert>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
    if (!convert)
        return {};
    char* unix = convert(fs::absolute(path).c_str());
    if (!unix)
        return {};
    std::string result(unix);
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}
