#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

// One request that reached the proxy.
struct FakeProxyRequest {
    // E.g. "GET http://127.0.0.1:4711/x HTTP/1.1" or "CONNECT 127.0.0.1:4712 HTTP/1.1".
    QByteArray requestLine;
    // Empty when the request carried none.
    QByteArray proxyAuthorization;
};

// A forward proxy on 127.0.0.1 with a free port. A plain-HTTP request is
// passed on to its target, one request per connection; a CONNECT opens a
// tunnel. Each connection is served by its own thread.
class FakeProxy {
public:
    FakeProxy();
    ~FakeProxy();
    FakeProxy(const FakeProxy &) = delete;
    FakeProxy &operator=(const FakeProxy &) = delete;

    int port() const { return m_port; }

    // From now on answers 407 with a Basic challenge every request that
    // does not carry these credentials.
    void demandAuthorization(const QString &user, const QString &password);

    QList<FakeProxyRequest> requests() const;

private:
    void acceptConnections();
    void serve(int client);

    int m_listener = -1;
    // Written once to wake every thread up for the stop.
    int m_wake[2] = {-1, -1};
    int m_port = 0;
    std::thread m_acceptor;
    mutable std::mutex m_mutex;
    std::vector<std::thread> m_connections;
    QList<FakeProxyRequest> m_requests;
    QByteArray m_expectedAuthorization;
};
