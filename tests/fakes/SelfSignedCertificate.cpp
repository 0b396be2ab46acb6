#include "fakes/SelfSignedCertificate.h"

#include <QProcess>
#include <stdexcept>

using namespace Qt::StringLiterals;

SelfSignedCertificate::SelfSignedCertificate()
    : SelfSignedCertificate(u"127.0.0.1"_s, u"IP:127.0.0.1"_s)
{
}

SelfSignedCertificate::SelfSignedCertificate(const QString &hostName)
    : SelfSignedCertificate(hostName, u"DNS:"_s + hostName)
{
}

SelfSignedCertificate::SelfSignedCertificate(const QString &commonName, const QString &subjectAltName)
{
    if (!m_folder.isValid())
        throw std::runtime_error("No temporary folder for the test certificate.");
    QProcess openssl;
    openssl.start(u"openssl"_s,
                  {u"req"_s, u"-x509"_s, u"-newkey"_s, u"rsa:2048"_s, u"-nodes"_s, u"-days"_s, u"2"_s, u"-subj"_s,
                   u"/CN="_s + commonName, u"-addext"_s, u"subjectAltName="_s + subjectAltName, u"-keyout"_s, keyPath(),
                   u"-out"_s, certificatePath()});
    if (!openssl.waitForFinished(60000) || openssl.exitStatus() != QProcess::NormalExit || openssl.exitCode() != 0) {
        throw std::runtime_error("openssl could not make the test certificate: "
                                 + openssl.readAllStandardError().toStdString() + openssl.errorString().toStdString());
    }
}

QString SelfSignedCertificate::certificatePath() const
{
    return m_folder.filePath(u"certificate.pem"_s);
}

QString SelfSignedCertificate::keyPath() const
{
    return m_folder.filePath(u"key.pem"_s);
}
