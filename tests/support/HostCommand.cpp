#include "tests/support/HostCommand.h"

#include "tests/support/HostProgram.h"

namespace {

constexpr DWORD kPollMs = 20;

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

} // namespace

CHostCommand::CHostCommand(const std::wstring& command, const fs::path& folder) {
    const std::string done = UnixPath(m_work / "done");
    const std::string output = UnixPath(m_work / "output");
    if (done.empty())
        return;
    // The exit code is written last, through a rename, once everything else is written.
    std::wstring script = L"{ " + command + L"; } >'" + Wide(output) + L"' 2>&1; echo $? >'" +
                          Wide(done) + L".part' && mv '" + Wide(done) + L".part' '" + Wide(done) +
                          L"'";
    if (!folder.empty())
        script = L"cd '" + Wide(UnixPath(folder)) + L"' && " + script;
    m_bStarted = StartHostProgram(L"/bin/sh -c \"" + script + L"\"");
}

bool CHostCommand::Finished() const {
    return m_bStarted && fs::exists(m_work / "done");
}

bool CHostCommand::Wait(DWORD timeoutMs) {
    for (DWORD waited = 0; !Finished() && waited < timeoutMs; waited += kPollMs)
        Sleep(kPollMs);
    return Finished();
}

int CHostCommand::ExitCode() const {
    const std::string code = Finished() ? ReadFile(m_work / "done") : std::string();
    return code.empty() ? -1 : std::stoi(code);
}

std::string CHostCommand::Output() const {
    return ReadFile(m_work / "output");
}

int RunHostCommand(const std::string& command, const fs::path& folder, std::string& output,
                   DWORD timeoutMs) {
    CHostCommand run(Wide(command), folder);
    run.Wait(timeoutMs);
    output = run.Output();
    return run.ExitCode();
}
