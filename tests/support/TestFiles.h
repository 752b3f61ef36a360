// Files and folders for tests: temporary folders, whole-file reads and writes, host paths.
#pragma once
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

// A fresh folder below the temporary folder, removed with everything in it (read-only
// files too) when the object goes.
class CTempFolder {
public:
    // The folder's name starts with `prefix`.
    explicit CTempFolder(const std::string& prefix = "zvt-");
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;
    ~CTempFolder();
    const fs::path& Path() const { return m_path; }
    fs::path operator/(const fs::path& sub) const { return m_path / sub; }

private:
    fs::path m_path;
};

void WriteFile(const fs::path& path, const std::string& bytes);
// `size` bytes that look random (and that deflate cannot shrink), the same for the same seed.
std::string NoiseBytes(std::size_t size, unsigned seed = 12345);
std::string ReadFile(const fs::path& path);
// Every file and folder below `root`, relative, with "/" separators, folders ending in "/".
std::string ListTree(const fs::path& root);

// The host path of a file seen by this program as `path`.
std::string UnixPath(const fs::path& path);
