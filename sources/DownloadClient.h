#pragma once

#include "sources/HttpSession.h"
#include "startup/SettingsFile.h"

#include <QIODevice>
#include <QString>

// The page-download client: HTTP/1.1 GET with fixed headers, in-memory
// cookies for the run, no redirects, the settings file's proxy.
//
// With BasicAuthentication on, the proxy credentials go with the first
// request (and with the CONNECT of an HTTPS tunnel). With it off they are
// not sent in advance: they answer a proxy's 407 challenge in whatever
// scheme it offers. Without credentials, or when the proxy rejects them,
// the 407 ends the download as an error.
class DownloadClient {
public:
    DownloadClient(const ProxySettings &proxy, const TransferSettings &settings);

    // Writes the body to out as it arrives. TLS is used only for an address
    // that begins with "https://" exactly. Throws SourceError with the
    // error's own text; for a status of 300 or more that is the status line,
    // and the body is not written.
    void get(const QString &address, QIODevice &out);

private:
    HttpSession m_session;
};
