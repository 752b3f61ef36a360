#include "tests/support/TestServer.h"

#include "tests/support/HostProgram.h"

#include <chrono>
#include <thread>

#include <winsock2.h>
#include <windows.h>

namespace {

// A port the system has just handed out for 127.0.0.1, so parallel tests do not collide.
int FreeLoopbackPort() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return 0;
    int port = 0;
    SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (probe != INVALID_SOCKET &&
        bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    if (probe != INVALID_SOCKET)
        closesocket(probe);
    WSACleanup();
    return port;
}

std::wstring Quoted(const std::string& text) {
    return L"\"" + std::wstring(text.begin(), text.end()) + L"\"";
}

} // namespace

CTestServer::CTestServer(const fs::path& root, const CTestServerOptions& options) {
    m_port = options.port ? options.port : FreeLoopbackPort();
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
