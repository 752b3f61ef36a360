// A TCP socket of the test's own on 127.0.0.1, at a port the system hands out: to learn a
// free port, or to take connections that are never answered.
#pragma once
#include <winsock2.h>

class CLoopbackSocket {
public:
    // Binds; with `listening`, connections are also taken (into the system's queue).
    explicit CLoopbackSocket(bool listening);
    CLoopbackSocket(const CLoopbackSocket&) = delete;
    CLoopbackSocket& operator=(const CLoopbackSocket&) = delete;
    ~CLoopbackSocket();

    // The port, or 0 when the socket could not be had.
    int Port() const { return m_port; }

private:
    bool m_bStarted = false;
    SOCKET m_socket = INVALID_SOCKET;
    int m_port = 0;
};
