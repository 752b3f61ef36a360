#include "tests/support/TestServer.h"

#include "tests/support/HostProgram.h"
#include "tests/support/LoopbackSocket.h"

#include <chrono>
#include <thread>

#include <winsock2.h>
#include <windows.h>

namespace {

std::wstring Quoted(const std::string& text) {
    return L"\"" + std::wstring(text.begin(), text.end()) + L"\"";
}

} // namespace

CTestServer::CTestServer(const fs::path& root, const CTestServerOptions& options) {
    // A port the system has just handed out, so parallel tests do not collide.
    m_port = options.port ? options.port : CLoopbackSocket(false).Port();
    const fs::path ready = m_work / "ready";
    std::wstring command = L"/usr/bin/python3 " + Quoted(ZV_SERVER_SCRIPT) + L" --port " +
                           std::to_wstring(m_port) + L" --root " + Quoted(UnixPath(root)) +
                           L" --ready " + Quoted(UnixPath(ready)) + L" --log " +
                           Quoted(UnixPath(m_work / "requests.log")) + L" --lifetime 90";
    for (const auto& [path, target] : options.aliases)
        command += L" --alias " + Quoted(path + "=" + target);
    if (m_port == 0 || !StartHostProgram(command))
        return;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < until) {
        const std::string pid = ReadFile(ready);
        if (!pid.empty()) {
            m_pid = std::stoul(pid);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

CTestServer::~CTestServer() {
    if (!m_pid)
        return;
    // Wine hands out no handle for a host process, so the server's ready file, which it
    // removes on its way out, tells when it has stopped.
    StartHostProgram(L"/bin/kill -TERM " + std::to_wstring(m_pid));
    const fs::path ready = m_work / "ready";
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (fs::exists(ready) && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

std::string CTestServer::RequestLog() const {
    return ReadFile(m_work / "requests.log");
}

std::wstring CTestServer::Url(const std::wstring& path) const {
    return L"http://127.0.0.1:" + std::to_wstring(m_port) + path;
}
