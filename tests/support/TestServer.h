// The local HTTP server of tests/server, run as a host process for one test.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "tests/support/TestFiles.h"

struct CTestServerOptions {
    // 0: a free port chosen at the start. A fixed one serves a program's built-in addresses.
    int port = 0;
    // Paths answered as others: {"/fileversion.zip", "/file/fileversion.zip"}.
    std::vector<std::pair<std::string, std::string>> aliases;
};

class CTestServer {
public:
    // Serves files of `root` on 127.0.0.1.
    explicit CTestServer(const fs::path& root, const CTestServerOptions& options = {});
    CTestServer(const CTestServer&) = delete;
    CTestServer& operator=(const CTestServer&) = delete;
    ~CTestServer();

    bool IsRunning() const { return m_pid != 0; }
    // "http://127.0.0.1:PORT" + path.
    std::wstring Url(const std::wstring& path) const;
    int Port() const { return m_port; }
    // The server's log so far: one line per request, as "GET /path HTTP/1.1" 200 -.
    std::string RequestLog() const;

private:
    CTempFolder m_work;
    int m_port = 0;
    unsigned long m_pid = 0; // the host's process id, as the server reports it
};
