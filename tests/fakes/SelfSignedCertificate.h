#pragma once

#include <QString>
#include <QTemporaryDir>

// A certificate for 127.0.0.1 made with the openssl tool into a temporary
// folder, valid for two days. Its file is also the CA file that trusts it.
// Throws std::runtime_error when openssl fails.
class SelfSignedCertificate {
public:
    SelfSignedCertificate();

    QString certificatePath() const;
    QString keyPath() const;

private:
    QTemporaryDir m_folder;
};
