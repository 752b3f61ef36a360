#include "update/UpdateEngine.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "update/PathBuffer.h"
#include "update/TextConvert.h"
#include "update/UpdateConstants.h"
#include "update/VersionInfo.h"
#include "update/ZipExtractor.h"

using namespace zv::update;

namespace {

std::wstring Widen(const char* text) {
    HeapText<wchar_t> wide = ToWide(text);
    return wide ? std::wstring(wide.get()) : std::wstring();
}

} // namespace

bool CUpdateEngine::ReadOwnVersion(HMODULE module) {
    bool fits = false;
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetModuleFileNameA(module, m_szExeDir, sizeof m_szExeDir);
    // A full buffer means the path was cut; older systems do not even terminate it.
    if (length > 0 && length < sizeof m_szExeDir && GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        m_szExeDir[length] = '\0';
        if (char* last = std::strrchr(m_szExeDir, '\\'))
            *last = '\0';
        fits = true;
    } else {
        m_szExeDir[0] = '\0';
    }

    HeapText<char> text = ToAnsi(GetVersionInfoString(module, "FileVersion").c_str());
    ParseVersion(m_vOwnVersion, text.get());
    return fits;
}

std::string CUpdateEngine::UpdateFolderPath(const char* sub) const {
    char path[kPathBuffer];
    if (!m_szExeDir[0] || !BuildPath(path, {m_szExeDir, "\\", kUpdateFolderName, sub}))
        return {};
    return path;
}

bool CUpdateEngine::SetupUpdatePaths() {
    const std::string folder = UpdateFolderPath("");
    const std::string versionZip = UpdateFolderPath((std::string("\\") + kVersionZipName).c_str());
    const std::string launcherZip =
        UpdateFolderPath((std::string("\\") + kLauncherZipName).c_str());
    if (folder.empty() || versionZip.empty() || launcherZip.empty())
        return false;

    m_strUpdateDir = Widen(folder.c_str());
    CreateDirectoryA(folder.c_str(), nullptr);
    m_strVersionZipUrl = std::wstring(kUpdateHost) + kVersionZipPath;
    m_strVersionZipPath = Widen(versionZip.c_str());
    m_strLauncherZipUrl = std::wstring(kUpdateHost) + kLauncherZipPath;
    m_strLauncherZipPath = Widen(launcherZip.c_str());
    return true;
}

void CUpdateEngine::ReadRemoteVersion(const char* path) {
    if (!path)
        return;
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return;
    std::vector<char> text;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0 && std::fseek(file, 0, SEEK_SET) == 0) {
            text.assign(static_cast<std::size_t>(size) + 1, '\0');
            text.resize(std::fread(text.data(), 1, static_cast<std::size_t>(size), file) + 1);
            text.back() = '\0';
        }
    }
    std::fclose(file);
    if (text.size() <= 1)
        return;

    // The version is what stands right before the first CR LF, at most seven characters.
    std::string version;
    if (const char* end = std::strstr(text.data(), "\r\n")) {
        const char* start = end - text.data() > 7 ? end - 7 : text.data();
        version.assign(start, end);
    }
    ParseVersion(m_vPublishedVersion, version.c_str());
}

bool CUpdateEngine::IsRemoteNewer() const {
    return IsNewerVersion(m_vPublishedVersion, m_vOwnVersion);
}

bool CUpdateEngine::UnzipToFolder(const std::wstring& zipPath, const std::wstring& folder,
                                  unsigned long long ullLimit) {
    CZipExtractor extractor(zipPath.c_str());
    extractor.SetSizeLimit(ullLimit);
    return extractor.SetOutputFolder(folder.c_str()) && extractor.ExtractAll(false);
}

std::wstring GetVersionFileUrl(int nVersionSource) {
    if (nVersionSource < 1 || nVersionSource > 3)
        return {};
    return std::wstring(kVersionHost) + kVersionFilePaths[nVersionSource - 1];
}
