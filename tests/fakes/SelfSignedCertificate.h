#pragma once

#include <QString>
#include <QTemporaryDir>

// A certificate made with the openssl tool into a temporary folder, valid
// for two days. Its file is also the CA file that trusts it. Throws
// std::runtime_error when openssl fails.
class SelfSignedCertificate {
public:
    // For 127.0.0.1.
    SelfSignedCertificate();
    // For that host name only, e.g. to serve it from 127.0.0.1 to a client
    // that checks the name.
    explicit SelfSignedCertificate(const QString &hostName);

    QString certificatePath() const;
    QString keyPath() const;

private:
    SelfSignedCertificate(const QString &commonName, const QString &subjectAltName);

    QTemporaryDir m_folder;
};
