#include "tests/support/Screenshot.h"

#include "tests/support/HostCommand.h"

namespace {

constexpr unsigned long kCaptureTimeoutMs = 10000;

// The Linux path of a picture in the artifacts folder (compiled in).
std::wstring ArtifactPath(const std::wstring& name) {
    return std::wstring(ZV_ARTIFACTS_DIR) + L"/" + name + L".png";
}

void Run(const std::wstring& command) {
    CHostCommand(command).Wait(kCaptureTimeoutMs);
}

std::wstring WindowsPathIfWritten(const std::wstring& unixPath) {
    const std::wstring path = L"Z:" + unixPath;
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES ? path : L"";
}

} // namespace

std::wstring CaptureScreen(const std::wstring& name, const RECT* area) {
    const std::wstring file = ArtifactPath(name);
    DeleteFileW((L"Z:" + file).c_str());
    std::wstring crop;
    if (area) {
        wchar_t geometry[80];
        wsprintfW(geometry, L" -crop %dx%d+%d+%d +repage", area->right - area->left,
                  area->bottom - area->top, area->left, area->top);
        crop = geometry;
    }
    // The file appears complete or not at all.
    Run(L"mkdir -p '" ZV_ARTIFACTS_DIR L"' && import -window root" + crop + L" '" + file +
        L".part.png' && mv '" + file + L".part.png' '" + file + L"'");
    return WindowsPathIfWritten(file);
}

bool StackScreenshots(const std::vector<std::wstring>& parts, const std::wstring& name) {
    if (parts.empty())
        return false;
    std::wstring files;
    for (const auto& part : parts)
        files += L" '" + ArtifactPath(part) + L"'";
    const std::wstring file = ArtifactPath(name);
    DeleteFileW((L"Z:" + file).c_str());
    Run(L"convert" + files + L" -background white -splice 0x4 -append '" + file + L"' && rm -f" +
        files);
    return !WindowsPathIfWritten(file).empty();
}
