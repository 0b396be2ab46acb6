#pragma once

#include "startup/SettingsFile.h"

#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <chrono>
#include <curl/curl.h>
#include <functional>
#include <optional>

// HTTP over libcurl: the page-download client, and the session it shares
// with the central bank's SOAP transport.

struct TransferSettings {
    // Extra certificates (PEM) trusted for HTTPS beside the system's.
    QString CAFile;
    std::chrono::seconds ConnectTimeout{30};
    // A transfer that moves no byte for this long fails.
    std::chrono::seconds StallTimeout{60};
};

struct TransferResult {
    // Empty when the exchange completed, whatever its status.
    QString Error;
    long Status = 0;
    // The last status line received, e.g. "HTTP/1.1 404 Not Found".
    QString StatusLine;
};

// One libcurl easy handle kept for a run, so that connections are reused.
// The owner sets the request options on Handle() before each Perform().
class CurlSession {
public:
    explicit CurlSession(const TransferSettings &settings);
    ~CurlSession();
    CurlSession(const CurlSession &) = delete;
    CurlSession &operator=(const CurlSession &) = delete;

    CURL *Handle() const { return m_curl; }

    // Every chunk of the answer's body goes to sink; a false from it aborts.
    TransferResult Perform(const std::function<bool(QByteArrayView)> &sink);

private:
    static size_t OnHeader(char *data, size_t size, size_t count, void *session);
    static size_t OnBody(char *data, size_t size, size_t count, void *session);
    static int OnProgress(void *session, curl_off_t downloaded, curl_off_t, curl_off_t uploaded, curl_off_t);

    CURL *m_curl = nullptr;
    std::chrono::seconds m_stallTimeout;
    std::chrono::steady_clock::time_point m_lastProgress;
    curl_off_t m_bytesMoved = 0;
    bool m_stalled = false;
    char m_errorBuffer[CURL_ERROR_SIZE] = {};
    QString m_statusLine;
    const std::function<bool(QByteArrayView)> *m_sink = nullptr;
};

// The wizard's page-download client: HTTP/1.1 GET with fixed headers,
// in-memory cookies for the run, no redirects, the settings file's proxy.
//
// With BasicAuthentication on, the proxy credentials go with the first
// request (and with the CONNECT of an HTTPS tunnel). With it off they are
// not sent in advance: they answer a proxy's 407 challenge in whatever
// scheme it offers. Without credentials, or when the proxy rejects them,
// the 407 ends the download as an error.
class DownloadClient {
public:
    DownloadClient(const ProxySettings &proxy, const TransferSettings &settings);
    DownloadClient(const DownloadClient &) = delete;
    DownloadClient &operator=(const DownloadClient &) = delete;

    // Writes the body to out as it arrives. Returns the error's text, or
    // none on success. TLS is used only for an address that begins with
    // "https://" exactly. A status of 300 or more is an error whose text
    // is the status line; its body is not written.
    std::optional<QString> Get(const QString &address, QIODevice &out);

private:
    CurlSession m_session;
};
