#include "fakes/LoopbackPorts.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

sockaddr_in Loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(quint16(port));
    return address;
}

// A socket bound to a free loopback port; returns the port.
int bindFree(int fd)
{
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    if (bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        throw std::runtime_error("No free port on 127.0.0.1.");
    return ntohs(address.sin_port);
}

} // namespace

int closedLoopbackPort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    const int port = bindFree(fd);
    close(fd);
    return port;
}

FullListener::FullListener()
{
    m_listener = socket(AF_INET, SOCK_STREAM, 0);
    m_port = bindFree(m_listener);
    // With a backlog of 0 one waiting connection fills the queue; the
    // kernel then drops further SYNs, and the clients retry until they time out.
    if (listen(m_listener, 0) != 0)
        throw std::runtime_error("The full listener cannot listen.");
    const sockaddr_in address = Loopback(m_port);
    for (int i = 0; i < 2; ++i) {
        const int client = socket(AF_INET, SOCK_STREAM, 0);
        if (i > 0)
            fcntl(client, F_SETFL, O_NONBLOCK);
        connect(client, reinterpret_cast<const sockaddr *>(&address), sizeof address);
        m_clients.append(client);
    }
}

FullListener::~FullListener()
{
    for (const int client : m_clients)
        close(client);
    close(m_listener);
}
