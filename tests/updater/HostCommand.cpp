#include "HostCommand.h"

#include <windows.h>

#include "base/Handle.h"

int RunHostCommand(const std::string& command, const fs::path& folder, std::string& output,
                   unsigned timeoutMs) {
    CTempFolder work;
    const fs::path done = work / "done";
    const fs::path printed = work / "output";
    // Wine hands out no usable process handle for a host program, so the command writes
    // its exit code last, through a rename, once everything else is written.
    const std::string script = "cd '" + UnixPath(folder) + "' && { " + command + "; } >'" +
                               UnixPath(printed) + "' 2>&1; echo $? >'" + UnixPath(done) +
                               ".part' && mv '" + UnixPath(done) + ".part' '" + UnixPath(done) +
                               "'";
    std::wstring line = L"/bin/sh -c \"" + std::wstring(script.begin(), script.end()) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    // For a host program Wine leaves the process handle empty and the thread field undefined.
    CKernelHandle owned(process.hProcess);
    for (unsigned waited = 0; waited < timeoutMs && !fs::exists(done); waited += 50)
        Sleep(50);
    output = ReadFile(printed);
    const std::string code = ReadFile(done);
    return code.empty() ? -1 : std::stoi(code);
}

bool SaveScreenshot(const std::string& name) {
    // The build folder is compiled in; build/artifacts sits beside it.
    const fs::path artifacts = fs::path(ZV_BIN_DIR).parent_path() / "artifacts";
    fs::create_directories(artifacts);
    std::string output;
    return RunHostCommand("import -window root '" + name + "'", artifacts, output, 20000) == 0;
}
