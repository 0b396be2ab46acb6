#include "sources/HttpSession.h"

#include "sources/SourceError.h"

#include <curl/curl.h>
#include <new>

using namespace Qt::StringLiterals;

namespace {

struct SlistDeleter {
    void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};
using Slist = std::unique_ptr<curl_slist, SlistDeleter>;

void initCurlOnce()
{
    static const CURLcode init = curl_global_init(CURL_GLOBAL_DEFAULT);
    if (init != CURLE_OK)
        throw SourceError(u"A hálózati könyvtár (libcurl) nem indítható: %1"_s.arg(curl_easy_strerror(init)));
}

// Every option is checked: an option this libcurl lacks must not leave a
// download with no time-out or no certificate check.
template<typename T>
void set(CURL *curl, CURLoption option, T value)
{
    const CURLcode code = curl_easy_setopt(curl, option, value);
    if (code != CURLE_OK)
        throw SourceError(u"A hálózati könyvtár (libcurl) nem állítható be (%1. beállítás): %2"_s.arg(int(option))
                              .arg(QString::fromUtf8(curl_easy_strerror(code))));
}

void set(CURL *curl, CURLoption option, const QString &text)
{
    set(curl, option, text.toUtf8().constData());
}

QString errorText(CURLcode code, const char *detail)
{
    // An answer that ends before its announced length would import a table
    // cut off in its last line, so it fails like any other error.
    if (code == CURLE_PARTIAL_FILE)
        return u"A válasz csonka: a kapcsolat az átvitel vége előtt megszakadt."_s;
    const QString text = QString::fromUtf8(detail).trimmed();
    return text.isEmpty() ? QString::fromUtf8(curl_easy_strerror(code)) : text;
}

} // namespace

struct HttpSession::Private {
    CURL *curl = nullptr;
    TransferSettings settings;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    QString statusLine;
    const std::function<bool(long, QByteArrayView)> *sink = nullptr;
    std::chrono::steady_clock::time_point lastProgress;
    curl_off_t bytesMoved = 0;
    qint64 bodyBytes = 0;
    bool stalled = false;
    bool tooLarge = false;

    void configure(const std::optional<ProxySettings> &proxy);
    static size_t onHeader(char *data, size_t size, size_t count, void *self);
    static size_t onBody(char *data, size_t size, size_t count, void *self);
    static int onProgress(void *self, curl_off_t downloadTotal, curl_off_t downloadNow, curl_off_t uploadTotal,
                          curl_off_t uploadNow);
};

void HttpSession::Private::configure(const std::optional<ProxySettings> &proxy)
{
    // Callbacks and errors.
    set(curl, CURLOPT_NOSIGNAL, 1L);
    set(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    set(curl, CURLOPT_HEADERFUNCTION, &Private::onHeader);
    set(curl, CURLOPT_HEADERDATA, this);
    set(curl, CURLOPT_WRITEFUNCTION, &Private::onBody);
    set(curl, CURLOPT_WRITEDATA, this);

    // Protocol: HTTP/1.1 only, no redirects, cookies in memory for the run
    // (an empty file name keeps them off the disk).
    set(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    set(curl, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    set(curl, CURLOPT_FOLLOWLOCATION, 0L);
    set(curl, CURLOPT_COOKIEFILE, "");

    // TLS up to 1.2, the server's certificate and name checked against the
    // system's authorities and CAFile. CAINFO replaces only the default
    // bundle file; the default folder keeps the system's trusted beside it.
    set(curl, CURLOPT_SSLVERSION, long(CURL_SSLVERSION_DEFAULT) | long(CURL_SSLVERSION_MAX_TLSv1_2));
    set(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    set(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!settings.caFile.isEmpty())
        set(curl, CURLOPT_CAINFO, settings.caFile);

    // Time-outs. Not libcurl's low-speed limit for the stall: its moving
    // average still counts a sent request body for seconds after the server
    // has fallen silent.
    set(curl, CURLOPT_CONNECTTIMEOUT_MS, long(settings.connectTimeout.count()));
    set(curl, CURLOPT_XFERINFOFUNCTION, &Private::onProgress);
    set(curl, CURLOPT_XFERINFODATA, this);
    set(curl, CURLOPT_NOPROGRESS, 0L);

    // Proxy: none set leaves libcurl with the environment's proxy variables.
    if (!proxy)
        return;
    // An empty proxy also keeps libcurl from the environment's variables.
    set(curl, CURLOPT_PROXY, proxy->proxyServer);
    if (proxy->proxyPort > 0)
        set(curl, CURLOPT_PROXYPORT, long(proxy->proxyPort));
    if (!proxy->proxyUsername.isEmpty() || !proxy->proxyPassword.isEmpty()) {
        set(curl, CURLOPT_PROXYUSERNAME, proxy->proxyUsername);
        set(curl, CURLOPT_PROXYPASSWORD, proxy->proxyPassword);
    }
    set(curl, CURLOPT_PROXYAUTH, proxy->basicAuthentication ? CURLAUTH_BASIC : CURLAUTH_ANY);
}

size_t HttpSession::Private::onHeader(char *data, size_t size, size_t count, void *self)
{
    const QByteArrayView line(data, qsizetype(size * count));
    if (line.startsWith("HTTP/"))
        static_cast<Private *>(self)->statusLine = QString::fromLatin1(line.trimmed());
    return size * count;
}

size_t HttpSession::Private::onBody(char *data, size_t size, size_t count, void *self)
{
    auto *d = static_cast<Private *>(self);
    const qint64 length = qint64(size * count);
    d->bodyBytes += length;
    if (d->bodyBytes > qint64(d->settings.maxAnswerMiB) * 1024 * 1024) {
        d->tooLarge = true;
        return 0;
    }
    long status = 0;
    curl_easy_getinfo(d->curl, CURLINFO_RESPONSE_CODE, &status);
    return (*d->sink)(status, QByteArrayView(data, length)) ? size * count : 0;
}

int HttpSession::Private::onProgress(void *self, curl_off_t, curl_off_t downloadNow, curl_off_t, curl_off_t uploadNow)
{
    // libcurl calls this at least once a second, also while nothing moves.
    // Connecting has its own time-out; the stall clock starts after it and
    // is wound back by every byte that moves either way.
    auto *d = static_cast<Private *>(self);
    const auto now = std::chrono::steady_clock::now();
    curl_off_t connected = 0;
    curl_easy_getinfo(d->curl, CURLINFO_PRETRANSFER_TIME_T, &connected);
    if (connected == 0 || downloadNow + uploadNow != d->bytesMoved) {
        d->bytesMoved = downloadNow + uploadNow;
        d->lastProgress = now;
    } else if (now - d->lastProgress >= d->settings.stallTimeout) {
        d->stalled = true;
        return 1;
    }
    return 0;
}

HttpSession::HttpSession(const TransferSettings &settings, const std::optional<ProxySettings> &proxy)
    : d(std::make_unique<Private>())
{
    initCurlOnce();
    d->settings = settings;
    d->curl = curl_easy_init();
    if (!d->curl)
        throw std::bad_alloc();
    try {
        d->configure(proxy);
    } catch (...) {
        curl_easy_cleanup(d->curl);
        throw;
    }
}

HttpSession::~HttpSession()
{
    curl_easy_cleanup(d->curl);
}

HttpStatus HttpSession::perform(const HttpRequest &request,
                                const std::function<bool(long status, QByteArrayView chunk)> &sink)
{
    CURL *curl = d->curl;
    Slist headers;
    for (const QByteArray &header : request.headers) {
        curl_slist *list = curl_slist_append(headers.get(), header.constData());
        if (!list)
            throw std::bad_alloc();
        headers.release();
        headers.reset(list);
    }
    set(curl, CURLOPT_URL, request.url);
    set(curl, CURLOPT_HTTPHEADER, headers.get());
    if (request.postBody) {
        set(curl, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(request.postBody->size()));
        set(curl, CURLOPT_COPYPOSTFIELDS, request.postBody->constData());
    } else {
        set(curl, CURLOPT_HTTPGET, 1L);
    }

    d->errorBuffer[0] = '\0';
    d->statusLine.clear();
    d->sink = &sink;
    d->lastProgress = std::chrono::steady_clock::now();
    d->bytesMoved = 0;
    d->bodyBytes = 0;
    d->stalled = false;
    d->tooLarge = false;
    const CURLcode code = curl_easy_perform(curl);
    d->sink = nullptr;
    set(curl, CURLOPT_HTTPHEADER, static_cast<curl_slist *>(nullptr));

    HttpStatus status;
    status.line = d->statusLine;
    long connectStatus = 0;
    curl_easy_getinfo(curl, CURLINFO_HTTP_CONNECTCODE, &connectStatus);
    if (code != CURLE_OK && connectStatus >= 300) {
        // The proxy refused the tunnel: its answer stands for the server's.
        status.code = connectStatus;
        return status;
    }
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status.code);
    if (d->stalled) {
        throw SourceError(u"A kiszolgáló %1 másodpercig nem küldött adatot, az átvitel megszakadt."_s.arg(
            QString::number(d->settings.stallTimeout.count() / 1000.0)));
    }
    if (d->tooLarge) {
        throw SourceError(
            u"A válasz nagyobb a megengedett %1 MiB-nál, ezért az átvitel megszakadt. A korlát a "
            u"beállításfájl [Sources] szakaszának MaxAnswerMiB kulcsával emelhető."_s.arg(d->settings.maxAnswerMiB));
    }
    if (code == CURLE_WRITE_ERROR)
        return status;
    if (code != CURLE_OK)
        throw SourceError(errorText(code, d->errorBuffer));
    return status;
}

QString displayAddress(const QString &url)
{
    const qsizetype scheme = url.indexOf(u"://"_s);
    const qsizetype authority = scheme < 0 ? 0 : scheme + 3;
    qsizetype end = authority;
    while (end < url.size() && url[end] != u'/' && url[end] != u'?' && url[end] != u'#')
        ++end;
    if (end == authority)
        return url;
    const qsizetype at = url.lastIndexOf(u'@', end - 1);
    if (at < authority)
        return url;
    return url.left(authority) + url.mid(at + 1);
}
