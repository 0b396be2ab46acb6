#include "sources/DownloadClient.h"

#include <memory>
#include <new>

using namespace Qt::StringLiterals;

namespace {

struct SlistDeleter {
    void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};
using Slist = std::unique_ptr<curl_slist, SlistDeleter>;

void InitCurlOnce()
{
    static const CURLcode init = curl_global_init(CURL_GLOBAL_DEFAULT);
    Q_UNUSED(init);
}

QString ErrorText(CURLcode code, const char *detail)
{
    // An answer that ends before its announced length would import a table
    // cut off in its last line, so it fails like any other error.
    if (code == CURLE_PARTIAL_FILE)
        return u"A válasz csonka: a kapcsolat az átvitel vége előtt megszakadt."_s;
    const QString text = QString::fromUtf8(detail).trimmed();
    return text.isEmpty() ? QString::fromUtf8(curl_easy_strerror(code)) : text;
}

// libcurl compares schemes without regard to case; an address that does
// not begin with "https://" exactly goes over plain TCP, to the port its
// scheme names.
QByteArray PlainAddress(const QString &address)
{
    const QByteArray bytes = address.toUtf8();
    if (address.startsWith(u"https://") || !address.startsWith(u"https://", Qt::CaseInsensitive))
        return bytes;
    CURLU *url = curl_url();
    QByteArray plain = bytes;
    if (curl_url_set(url, CURLUPART_URL, bytes.constData(), 0) == CURLUE_OK) {
        char *part = nullptr;
        if (curl_url_get(url, CURLUPART_PORT, &part, 0) == CURLUE_NO_PORT)
            curl_url_set(url, CURLUPART_PORT, "443", 0);
        curl_free(part);
        curl_url_set(url, CURLUPART_SCHEME, "http", 0);
        if (curl_url_get(url, CURLUPART_URL, &part, 0) == CURLUE_OK)
            plain = part;
        curl_free(part);
    }
    curl_url_cleanup(url);
    return plain;
}

} // namespace

CurlSession::CurlSession(const TransferSettings &settings)
    : m_stallTimeout(settings.StallTimeout)
{
    InitCurlOnce();
    m_curl = curl_easy_init();
    if (!m_curl)
        throw std::bad_alloc();
    curl_easy_setopt(m_curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_curl, CURLOPT_ERRORBUFFER, m_errorBuffer);
    curl_easy_setopt(m_curl, CURLOPT_HEADERFUNCTION, &CurlSession::OnHeader);
    curl_easy_setopt(m_curl, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, &CurlSession::OnBody);
    curl_easy_setopt(m_curl, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(m_curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(m_curl, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(m_curl, CURLOPT_SSLVERSION, long(CURL_SSLVERSION_DEFAULT) | long(CURL_SSLVERSION_MAX_TLSv1_2));
    // CAINFO replaces only the default bundle file; the default CA folder
    // keeps the system's certificates trusted beside these.
    if (!settings.CAFile.isEmpty())
        curl_easy_setopt(m_curl, CURLOPT_CAINFO, settings.CAFile.toUtf8().constData());
    curl_easy_setopt(m_curl, CURLOPT_CONNECTTIMEOUT, long(settings.ConnectTimeout.count()));
    // Not libcurl's low-speed limit: its moving average still counts a sent
    // request body for seconds after the server has fallen silent.
    curl_easy_setopt(m_curl, CURLOPT_XFERINFOFUNCTION, &CurlSession::OnProgress);
    curl_easy_setopt(m_curl, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(m_curl, CURLOPT_NOPROGRESS, 0L);
}

CurlSession::~CurlSession()
{
    curl_easy_cleanup(m_curl);
}

TransferResult CurlSession::Perform(const std::function<bool(QByteArrayView)> &sink)
{
    m_errorBuffer[0] = '\0';
    m_statusLine.clear();
    m_sink = &sink;
    m_lastProgress = std::chrono::steady_clock::now();
    m_bytesMoved = 0;
    m_stalled = false;
    const CURLcode code = curl_easy_perform(m_curl);
    m_sink = nullptr;

    TransferResult result;
    result.StatusLine = m_statusLine;
    long connectStatus = 0;
    curl_easy_getinfo(m_curl, CURLINFO_HTTP_CONNECTCODE, &connectStatus);
    if (code != CURLE_OK && connectStatus >= 300) {
        // The proxy refused the tunnel: its answer stands for the server's.
        result.Status = connectStatus;
        return result;
    }
    curl_easy_getinfo(m_curl, CURLINFO_RESPONSE_CODE, &result.Status);
    if (m_stalled)
        result.Error = u"A kiszolgáló %1 másodpercig nem küldött adatot, az átvitel megszakadt."_s.arg(m_stallTimeout.count());
    else if (code != CURLE_OK)
        result.Error = ErrorText(code, m_errorBuffer);
    return result;
}

size_t CurlSession::OnHeader(char *data, size_t size, size_t count, void *session)
{
    const QByteArrayView line(data, qsizetype(size * count));
    if (line.startsWith("HTTP/"))
        static_cast<CurlSession *>(session)->m_statusLine = QString::fromLatin1(line.trimmed());
    return size * count;
}

size_t CurlSession::OnBody(char *data, size_t size, size_t count, void *session)
{
    const auto *self = static_cast<CurlSession *>(session);
    const bool accepted = (*self->m_sink)(QByteArrayView(data, qsizetype(size * count)));
    return accepted ? size * count : 0;
}

int CurlSession::OnProgress(void *session, curl_off_t downloaded, curl_off_t, curl_off_t uploaded, curl_off_t)
{
    // libcurl calls this at least once a second, also while nothing moves.
    // Connecting has its own time-out; the stall clock starts after it.
    auto *self = static_cast<CurlSession *>(session);
    const auto now = std::chrono::steady_clock::now();
    curl_off_t connected = 0;
    curl_easy_getinfo(self->m_curl, CURLINFO_PRETRANSFER_TIME_T, &connected);
    if (connected == 0 || downloaded + uploaded != self->m_bytesMoved) {
        self->m_bytesMoved = downloaded + uploaded;
        self->m_lastProgress = now;
    } else if (now - self->m_lastProgress >= self->m_stallTimeout) {
        self->m_stalled = true;
        return 1;
    }
    return 0;
}

DownloadClient::DownloadClient(const ProxySettings &proxy, const TransferSettings &settings)
    : m_session(settings)
{
    CURL *curl = m_session.Handle();
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    // An empty file name keeps cookies in memory for the run, never on disk.
    curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");
    // An empty proxy also keeps libcurl from the environment's proxy variables.
    curl_easy_setopt(curl, CURLOPT_PROXY, proxy.ProxyServer.toUtf8().constData());
    if (proxy.ProxyPort > 0)
        curl_easy_setopt(curl, CURLOPT_PROXYPORT, long(proxy.ProxyPort));
    if (!proxy.ProxyUsername.isEmpty() || !proxy.ProxyPassword.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, proxy.ProxyUsername.toUtf8().constData());
        curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, proxy.ProxyPassword.toUtf8().constData());
    }
    curl_easy_setopt(curl, CURLOPT_PROXYAUTH, proxy.BasicAuthentication ? CURLAUTH_BASIC : CURLAUTH_ANY);
}

std::optional<QString> DownloadClient::Get(const QString &address, QIODevice &out)
{
    CURL *curl = m_session.Handle();
    static const Slist headers = [] {
        curl_slist *list = curl_slist_append(nullptr, "Accept: text/html, */*");
        return Slist(curl_slist_append(list, "User-Agent: Mozilla/3.0 (compatible; Indy Library)"));
    }();
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(curl, CURLOPT_URL, PlainAddress(address).constData());

    bool writeFailed = false;
    const TransferResult result = m_session.Perform([&](QByteArrayView chunk) {
        long status = 0;
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
        if (status >= 300)
            return true;
        writeFailed = out.write(chunk.data(), chunk.size()) != chunk.size();
        return !writeFailed;
    });
    if (writeFailed)
        return u"A letöltött adatok nem írhatók ki: %1"_s.arg(out.errorString());
    if (!result.Error.isEmpty())
        return result.Error;
    if (result.Status >= 300)
        return result.StatusLine;
    return std::nullopt;
}
