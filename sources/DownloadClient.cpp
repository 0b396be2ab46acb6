#include "sources/DownloadClient.h"

#include "sources/SourceError.h"

#include <curl/curl.h>

using namespace Qt::StringLiterals;

namespace {

// libcurl compares schemes without regard to case; an address that does
// not begin with "https://" exactly goes over plain TCP, to the port its
// scheme names.
QString plainAddress(const QString &address)
{
    if (address.startsWith(u"https://") || !address.startsWith(u"https://", Qt::CaseInsensitive))
        return address;
    CURLU *url = curl_url();
    QString plain = address;
    if (url && curl_url_set(url, CURLUPART_URL, address.toUtf8().constData(), 0) == CURLUE_OK) {
        char *part = nullptr;
        if (curl_url_get(url, CURLUPART_PORT, &part, 0) == CURLUE_NO_PORT)
            curl_url_set(url, CURLUPART_PORT, "443", 0);
        curl_free(part);
        part = nullptr;
        curl_url_set(url, CURLUPART_SCHEME, "http", 0);
        if (curl_url_get(url, CURLUPART_URL, &part, 0) == CURLUE_OK)
            plain = QString::fromUtf8(part);
        curl_free(part);
    }
    curl_url_cleanup(url);
    return plain;
}

} // namespace

DownloadClient::DownloadClient(const ProxySettings &proxy, const TransferSettings &settings)
    : m_session(settings, proxy)
{
}

void DownloadClient::get(const QString &address, QIODevice &out)
{
    const HttpRequest request{plainAddress(address),
                              {"Accept: text/html, */*", "User-Agent: Mozilla/3.0 (compatible; Indy Library)"},
                              std::nullopt};
    bool writeFailed = false;
    const HttpStatus status = m_session.perform(request, [&](long code, QByteArrayView chunk) {
        if (code >= 300)
            return true;
        writeFailed = out.write(chunk.data(), chunk.size()) != chunk.size();
        return !writeFailed;
    });
    if (writeFailed)
        throw SourceError(u"A letöltött adatok nem írhatók ki: %1"_s.arg(out.errorString()));
    if (status.code >= 300)
        throw SourceError(status.line);
}
