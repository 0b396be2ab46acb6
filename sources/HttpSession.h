#pragma once

#include "startup/SettingsFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

// HTTP for both rate sources: one session per client, kept for the run so
// that connections and cookies are reused.

struct TransferSettings {
    // Extra certificates (PEM) trusted for HTTPS beside the system's.
    QString caFile;
    std::chrono::milliseconds connectTimeout{30000};
    // A transfer that moves no byte for this long fails.
    std::chrono::milliseconds stallTimeout{60000};
    // An answer whose body grows beyond this many MiB fails; real answers
    // stay far below it.
    int maxAnswerMiB = DefaultMaxAnswerMiB;
};

// One request: a GET, or a POST when it carries a body.
struct HttpRequest {
    QString url;
    // Complete header lines, e.g. "Accept: text/html, */*".
    QList<QByteArray> headers;
    std::optional<QByteArray> postBody;
};

struct HttpStatus {
    long code = 0;
    // The last status line received, e.g. "HTTP/1.1 404 Not Found".
    QString line;
};

class HttpSession {
public:
    // Without proxy settings the system's own proxy applies (the usual
    // proxy environment variables).
    HttpSession(const TransferSettings &settings, const std::optional<ProxySettings> &proxy);
    ~HttpSession();
    HttpSession(const HttpSession &) = delete;
    HttpSession &operator=(const HttpSession &) = delete;

    // Sends the request; every chunk of the answer's body goes to sink with
    // the answer's status code, and a false from the sink ends the transfer.
    // Returns the status once the exchange has completed, whatever the
    // status. Throws SourceError when it has not: no connection, TLS, a stall,
    // a body cut off or over the size limit. A transfer the sink ended
    // returns normally; the sink's owner knows why.
    HttpStatus perform(const HttpRequest &request, const std::function<bool(long status, QByteArrayView chunk)> &sink);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// The address as messages show it: without a user name and password.
QString displayAddress(const QString &url);
