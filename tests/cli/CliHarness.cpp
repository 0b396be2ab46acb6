#include "CliHarness.h"

#include "cli/ConsoleView.h"
#include "fakes/SelfSignedCertificate.h"

#include <QFile>
#include <QProcess>
#include <stdexcept>

using namespace Qt::StringLiterals;

const QString ShowClosingLine = u"Az adatbázis nem változott (/show).\n"_s;

CliRun runCli(const QStringList &arguments)
{
    CliRun run;
    QTemporaryDir temp;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name : {u"http_proxy"_s, u"https_proxy"_s, u"HTTP_PROXY"_s, u"HTTPS_PROXY"_s,
                                u"all_proxy"_s, u"ALL_PROXY"_s})
        environment.remove(name);
    environment.insert(u"TMPDIR"_s, temp.path());

    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QString::fromUtf8(ARFOLYAM_CLI), arguments);
    const bool finished = process.waitForFinished(60000);
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    if (!finished || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        run.err = u"arfolyam-cli did not end by itself: %1\n"_s.arg(process.errorString()) + run.err;
        return run;
    }
    run.exitCode = process.exitCode();
    return run;
}

void writeSettings(const QString &path, const SourceSettings &sources, const ProxySettings &proxy)
{
    QString text = u"[Sources]\r\nMNBServiceUrl=%1\r\nOTPBaseUrl=%2\r\nCAFile=%3\r\n"_s.arg(
        sources.mnbServiceUrl, sources.otpBaseUrl, sources.caFile);
    if (!proxy.proxyServer.isEmpty()) {
        text += u"\r\n[Proxy Settings]\r\nBasicAuthentication=%1\r\nProxyServer=%2\r\nProxyPort=%3\r\n"
                "ProxyUsername=%4\r\nProxyPassword=%5\r\n"_s.arg(proxy.basicAuthentication ? 1 : 0)
                    .arg(proxy.proxyServer)
                    .arg(proxy.proxyPort)
                    .arg(proxy.proxyUsername, proxy.proxyPassword);
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0)
        throw std::runtime_error("The test settings file cannot be written: " + path.toStdString());
}

QString connectSteps(int through)
{
    const QStringList labels = {
        u"Csatlakozás a bank szerveréhez..."_s,
        u"Árfolyaminformációkat tartalmazó oldal letöltése..."_s,
        u"Árfolyaminformációkat tartalmazó oldal elemzése...."_s,
        u"Árfolyam-táblázat létrehozása a Belmora Ügyviteli Rendszer számára..."_s,
        u"Bank szerverével létrehozott kapcsolat bontása..."_s,
    };
    QString text;
    for (const QString &label : labels.first(through))
        text += label + u'\n';
    return text;
}

QString shownRates(const RateList &list)
{
    return connectSteps() + rateListText(list) + ShowClosingLine;
}

QStringList lines(const QString &text)
{
    return text.split(u'\n');
}

QString errorEntry(int number, const QStringList &messageLines)
{
    return u"[Hibaüzenet sorszáma: %1]\n"_s.arg(number) + messageLines.join(u'\n') + u"\n \n"_s;
}

FakeBanks::FakeBanks(const SelfSignedCertificate &certificate)
    : otp(certificate)
{
    if (!m_folder.isValid())
        throw std::runtime_error("No temporary folder for the test settings.");
    writeSettings(m_folder.filePath(u"arfolyam.ini"_s),
                  {mnb.url(), otp.origin(), certificate.certificatePath()});
}

QString FakeBanks::settingsSwitch() const
{
    return u"/settings"_s + m_folder.filePath(u"arfolyam.ini"_s);
}

bool FakeBanks::untouched() const
{
    return mnb.calls().isEmpty() && otp.requests().isEmpty();
}
