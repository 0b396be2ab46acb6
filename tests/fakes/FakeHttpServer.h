#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

class SelfSignedCertificate;

using HeaderList = QList<std::pair<QByteArray, QByteArray>>;

// How the body of an answer reaches the client.
enum class FakeTransfer {
    Whole,
    // The status line and headers, then nothing until the server stops.
    Stall,
    // Announces the body's length, sends half of it and closes.
    CutOff,
    // Chunked: half of the body, then closes without the closing chunk.
    CutOffChunked,
    // Announces the body's length, then sends it one byte at a time, each
    // after FakeReply::trickleInterval.
    Trickle,
};

// How one answer departs from a fake's normal one; unset fields keep it.
struct FakeReply {
    std::optional<int> status;
    std::optional<QByteArray> body;
    QByteArray contentType;
    // Sent in addition, e.g. Location or Set-Cookie.
    HeaderList headers;
    std::chrono::milliseconds delay{0};
    FakeTransfer transfer = FakeTransfer::Whole;
    // The pause before each byte but the first of a Trickle.
    std::chrono::milliseconds trickleInterval{0};

    static FakeReply withStatus(int status, const QByteArray &body = {});
    static FakeReply withBody(const QByteArray &body);
    static FakeReply withTransfer(FakeTransfer transfer);
    static FakeReply withDelay(std::chrono::milliseconds delay);
    static FakeReply withTrickle(const QByteArray &body, std::chrono::milliseconds interval);
};

// A request as it reached a fake.
struct RecordedRequest {
    QByteArray method;
    QByteArray target;
    QByteArray version;
    // Without the server's own additions (peer addresses).
    HeaderList headers;
    QByteArray body;
    // E.g. "TLSv1.2"; empty over plain HTTP.
    QByteArray tlsVersion;

    // The first header of that name, compared without regard to case.
    QByteArray header(const QByteArray &name) const;
    bool hasHeader(const QByteArray &name) const;
};

// An HTTP or HTTPS server on 127.0.0.1 with a free port, serving from its
// own thread. The owner registers its routes, then calls start(); its
// destructor must call stop() before its own members go.
class FakeHttpServer {
public:
    using Handler = std::function<void(const httplib::Request &, httplib::Response &)>;

    // HTTPS with the certificate, plain HTTP without one.
    explicit FakeHttpServer(const SelfSignedCertificate *certificate);
    ~FakeHttpServer();
    FakeHttpServer(const FakeHttpServer &) = delete;
    FakeHttpServer &operator=(const FakeHttpServer &) = delete;

    void get(const std::string &pattern, Handler handler);
    void post(const std::string &pattern, Handler handler);
    void start();
    // Releases stalled and delayed answers, then stops; safe to repeat.
    void stop();

    int port() const { return m_port; }
    // "http://127.0.0.1:port" or "https://127.0.0.1:port".
    QString origin() const;

    // Waits, but returns early (false) when the server stops.
    bool pause(std::chrono::milliseconds duration);
    // Fills res with the normal answer as the reply changes it.
    void respond(httplib::Response &res, int status, const QByteArray &body, const QByteArray &contentType,
                 const HeaderList &headers, const FakeReply &reply);

    static RecordedRequest record(const httplib::Request &req);

private:
    std::unique_ptr<httplib::Server> m_server;
    bool m_https = false;
    int m_port = 0;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_stopped;
    bool m_stopping = false;
};
