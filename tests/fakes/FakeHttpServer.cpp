#include "fakes/FakeHttpServer.h"

#include "fakes/SelfSignedCertificate.h"

#include <httplib.h>
#include <openssl/ssl.h>
#include <stdexcept>

FakeReply FakeReply::withStatus(int status, const QByteArray &body)
{
    FakeReply reply;
    reply.status = status;
    reply.body = body;
    return reply;
}

FakeReply FakeReply::withBody(const QByteArray &body)
{
    FakeReply reply;
    reply.body = body;
    return reply;
}

FakeReply FakeReply::withTransfer(FakeTransfer transfer)
{
    FakeReply reply;
    reply.transfer = transfer;
    return reply;
}

FakeReply FakeReply::withDelay(std::chrono::milliseconds delay)
{
    FakeReply reply;
    reply.delay = delay;
    return reply;
}

FakeReply FakeReply::withTrickle(const QByteArray &body, std::chrono::milliseconds interval)
{
    FakeReply reply = withBody(body);
    reply.transfer = FakeTransfer::Trickle;
    reply.trickleInterval = interval;
    return reply;
}

QByteArray RecordedRequest::header(const QByteArray &name) const
{
    for (const auto &[key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

bool RecordedRequest::hasHeader(const QByteArray &name) const
{
    for (const auto &header : headers) {
        if (header.first.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

FakeHttpServer::FakeHttpServer(const SelfSignedCertificate *certificate)
    : m_https(certificate != nullptr)
{
    if (certificate) {
        m_server = std::make_unique<httplib::SSLServer>(certificate->certificatePath().toLocal8Bit().constData(),
                                                        certificate->keyPath().toLocal8Bit().constData());
    } else {
        m_server = std::make_unique<httplib::Server>();
    }
    if (!m_server->is_valid())
        throw std::runtime_error("The fake server cannot use the test certificate.");
    // A client that keeps its connection open delays the stop by this much at most.
    m_server->set_keep_alive_timeout(1);
}

FakeHttpServer::~FakeHttpServer()
{
    stop();
}

void FakeHttpServer::get(const std::string &pattern, Handler handler)
{
    m_server->Get(pattern, std::move(handler));
}

void FakeHttpServer::post(const std::string &pattern, Handler handler)
{
    m_server->Post(pattern, std::move(handler));
}

void FakeHttpServer::start()
{
    m_port = m_server->bind_to_any_port("127.0.0.1");
    if (m_port <= 0)
        throw std::runtime_error("The fake server found no free port on 127.0.0.1.");
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
    // A stop that came before the accept loop runs would be lost, and the
    // loop would then wait for a connection forever.
    while (!m_server->is_running())
        std::this_thread::yield();
}

void FakeHttpServer::stop()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_stopped.notify_all();
    m_server->stop();
    if (m_thread.joinable())
        m_thread.join();
}

QString FakeHttpServer::origin() const
{
    return QStringLiteral("%1://127.0.0.1:%2").arg(m_https ? u"https" : u"http").arg(m_port);
}

bool FakeHttpServer::pause(std::chrono::milliseconds duration)
{
    std::unique_lock lock(m_mutex);
    return !m_stopped.wait_for(lock, duration, [this] { return m_stopping; });
}

void FakeHttpServer::respond(httplib::Response &res, int status, const QByteArray &body, const QByteArray &contentType,
                             const HeaderList &headers, const FakeReply &reply)
{
    if (reply.delay.count() > 0 && !pause(reply.delay)) {
        res.status = 503;
        return;
    }
    res.status = reply.status.value_or(status);
    for (const HeaderList *list : {&headers, &reply.headers}) {
        for (const auto &[name, value] : *list)
            res.set_header(name.toStdString(), value.toStdString());
    }
    const auto content = std::make_shared<std::string>(reply.body.value_or(body).toStdString());
    const std::string type = (reply.contentType.isEmpty() ? contentType : reply.contentType).toStdString();
    const size_t half = content->size() / 2;
    switch (reply.transfer) {
    case FakeTransfer::Whole:
        res.set_content(*content, type);
        break;
    case FakeTransfer::Stall:
        res.set_content_provider(content->size(), type, [this](size_t, size_t, httplib::DataSink &) {
            pause(std::chrono::hours(1));
            return false;
        });
        break;
    case FakeTransfer::CutOff:
        res.set_content_provider(content->size(), type,
                                 [content, half](size_t offset, size_t, httplib::DataSink &sink) {
            if (offset >= half)
                return false;
            sink.write(content->data() + offset, half - offset);
            return true;
        });
        break;
    case FakeTransfer::CutOffChunked:
        res.set_chunked_content_provider(type, [content, half](size_t offset, httplib::DataSink &sink) {
            if (offset > 0)
                return false;
            sink.write(content->data(), half);
            return true;
        });
        break;
    case FakeTransfer::Trickle:
        res.set_content_provider(
            content->size(), type,
            [this, content, interval = reply.trickleInterval](size_t offset, size_t, httplib::DataSink &sink) {
            if (offset > 0 && !pause(interval))
                return false;
            sink.write(content->data() + offset, 1);
            return true;
            });
        break;
    }
}

RecordedRequest FakeHttpServer::record(const httplib::Request &req)
{
    RecordedRequest recorded;
    recorded.method = QByteArray::fromStdString(req.method);
    recorded.target = QByteArray::fromStdString(req.target);
    recorded.version = QByteArray::fromStdString(req.version);
    for (const auto &[name, value] : req.headers) {
        if (name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" || name == "LOCAL_PORT")
            continue;
        recorded.headers.append({QByteArray::fromStdString(name), QByteArray::fromStdString(value)});
    }
    recorded.body = QByteArray::fromStdString(req.body);
    if (req.ssl)
        recorded.tlsVersion = SSL_get_version(req.ssl);
    return recorded;
}
