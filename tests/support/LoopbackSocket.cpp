#include "tests/support/LoopbackSocket.h"

namespace {

constexpr int kBacklog = 16;

} // namespace

CLoopbackSocket::CLoopbackSocket(bool listening) {
    WSADATA data;
    m_bStarted = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (m_socket != INVALID_SOCKET &&
        bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        (!listening || listen(m_socket, kBacklog) == 0) &&
        getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        m_port = ntohs(address.sin_port);
}

CLoopbackSocket::~CLoopbackSocket() {
    if (m_socket != INVALID_SOCKET)
        closesocket(m_socket);
    if (m_bStarted)
        WSACleanup();
}
