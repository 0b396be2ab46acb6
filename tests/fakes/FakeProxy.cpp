#include "fakes/FakeProxy.h"

#include <QUrl>
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr qsizetype MaximumHeadSize = 65536;

// Readable, or false when the proxy stops first.
bool waitReadable(int fd, int wake)
{
    pollfd fds[2] = {{fd, POLLIN, 0}, {wake, POLLIN, 0}};
    return poll(fds, 2, -1) > 0 && fds[1].revents == 0;
}

bool sendAll(int fd, QByteArrayView data)
{
    while (!data.isEmpty()) {
        const ssize_t sent = send(fd, data.data(), size_t(data.size()), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data = data.sliced(sent);
    }
    return true;
}

int connectTo(const QByteArray &host, int port)
{
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (getaddrinfo(host.constData(), QByteArray::number(port).constData(), &hints, &found) != 0)
        return -1;
    int fd = -1;
    for (addrinfo *at = found; at && fd < 0; at = at->ai_next) {
        fd = socket(at->ai_family, at->ai_socktype, at->ai_protocol);
        if (fd >= 0 && connect(fd, at->ai_addr, at->ai_addrlen) != 0) {
            close(fd);
            fd = -1;
        }
    }
    freeaddrinfo(found);
    return fd;
}

// Copies both ways until either side closes or the proxy stops.
void relay(int a, int b, int wake)
{
    char buffer[16384];
    for (;;) {
        pollfd fds[3] = {{a, POLLIN, 0}, {b, POLLIN, 0}, {wake, POLLIN, 0}};
        if (poll(fds, 3, -1) <= 0 || fds[2].revents != 0)
            return;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].revents == 0)
                continue;
            const ssize_t got = recv(fds[i].fd, buffer, sizeof buffer, 0);
            if (got <= 0 || !sendAll(fds[1 - i].fd, QByteArrayView(buffer, got)))
                return;
        }
    }
}

QByteArray headerValue(const QList<QByteArray> &lines, const QByteArray &name)
{
    for (const QByteArray &line : lines) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

// The request as the target server expects it: origin-form target, no
// proxy headers, and one request per connection.
QByteArray forwardedHead(const QByteArray &method, const QUrl &url, const QByteArray &version,
                         const QList<QByteArray> &headerLines)
{
    QByteArray path = url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::RemoveFragment);
    if (path.isEmpty())
        path = "/";
    QByteArray head = method + ' ' + path + ' ' + version + "\r\n";
    for (const QByteArray &line : headerLines) {
        const QByteArray name = line.left(line.indexOf(':')).trimmed().toLower();
        if (name != "proxy-authorization" && name != "proxy-connection" && name != "connection" && name != "keep-alive")
            head += line + "\r\n";
    }
    return head + "Connection: close\r\n\r\n";
}

} // namespace

FakeProxy::FakeProxy()
{
    if (pipe(m_wake) != 0)
        throw std::runtime_error("The fake proxy cannot make its wake-up pipe.");
    m_listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listener < 0 || bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || listen(m_listener, 16) != 0 || getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        throw std::runtime_error("The fake proxy found no free port on 127.0.0.1.");
    m_port = ntohs(address.sin_port);
    m_acceptor = std::thread([this] { acceptConnections(); });
}

FakeProxy::~FakeProxy()
{
    const char wake = 's';
    [[maybe_unused]] const ssize_t written = write(m_wake[1], &wake, 1);
    m_acceptor.join();
    for (std::thread &connection : m_connections)
        connection.join();
    close(m_listener);
    close(m_wake[0]);
    close(m_wake[1]);
}

void FakeProxy::demandAuthorization(const QString &user, const QString &password)
{
    const std::lock_guard lock(m_mutex);
    m_expectedAuthorization = "Basic " + (user + u':' + password).toUtf8().toBase64();
}

QList<FakeProxyRequest> FakeProxy::requests() const
{
    const std::lock_guard lock(m_mutex);
    return m_requests;
}

void FakeProxy::acceptConnections()
{
    while (waitReadable(m_listener, m_wake[0])) {
        const int client = accept(m_listener, nullptr, nullptr);
        if (client < 0)
            continue;
        const std::lock_guard lock(m_mutex);
        m_connections.emplace_back([this, client] {
            serve(client);
            close(client);
        });
    }
}

void FakeProxy::serve(int client)
{
    QByteArray received;
    qsizetype headEnd = -1;
    char buffer[16384];
    while ((headEnd = received.indexOf("\r\n\r\n")) < 0) {
        if (received.size() > MaximumHeadSize || !waitReadable(client, m_wake[0]))
            return;
        const ssize_t got = recv(client, buffer, sizeof buffer, 0);
        if (got <= 0)
            return;
        received.append(buffer, got);
    }
    const QList<QByteArray> lines = received.left(headEnd).split('\n');
    QList<QByteArray> headerLines;
    for (const QByteArray &line : lines.mid(1))
        headerLines.append(line.trimmed());
    const QByteArray rest = received.mid(headEnd + 4);

    FakeProxyRequest request{lines.first().trimmed(), headerValue(headerLines, "Proxy-Authorization")};
    QByteArray expected;
    {
        const std::lock_guard lock(m_mutex);
        m_requests.append(request);
        expected = m_expectedAuthorization;
    }
    if (!expected.isEmpty() && request.proxyAuthorization != expected) {
        sendAll(client,
                "HTTP/1.1 407 Proxy Authentication Required\r\n"
                "Proxy-Authenticate: Basic realm=\"fake proxy\"\r\n"
                "Content-Length: 0\r\nConnection: close\r\n\r\n");
        return;
    }

    const QList<QByteArray> parts = request.requestLine.split(' ');
    if (parts.size() != 3) {
        sendAll(client, "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        return;
    }
    const QByteArray &method = parts[0];
    int upstream = -1;
    if (method == "CONNECT") {
        const qsizetype colon = parts[1].lastIndexOf(':');
        upstream = connectTo(parts[1].left(colon), parts[1].mid(colon + 1).toInt());
        if (upstream >= 0 && sendAll(client, "HTTP/1.1 200 Connection established\r\n\r\n"))
            sendAll(upstream, rest);
    } else {
        const QUrl url = QUrl::fromEncoded(parts[1]);
        if (url.scheme() == u"http")
            upstream = connectTo(url.host().toUtf8(), url.port(80));
        if (upstream >= 0)
            sendAll(upstream, forwardedHead(method, url, parts[2], headerLines) + rest);
    }
    if (upstream < 0) {
        sendAll(client, "HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        return;
    }
    relay(client, upstream, m_wake[0]);
    close(upstream);
}
