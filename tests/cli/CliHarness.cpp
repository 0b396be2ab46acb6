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
    QTemporaryDir temp;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name :
         {u"http_proxy"_s, u"https_proxy"_s, u"HTTP_PROXY"_s, u"HTTPS_PROXY"_s, u"all_proxy"_s, u"ALL_PROXY"_s})
        environment.remove(name);
    environment.insert(u"TMPDIR"_s, temp.path());

    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QString::fromUtf8(ARFOLYAM_CLI), arguments);
    return finishCli(process, 60000);
}

CliRun finishCli(QProcess &process, int deadlineMs)
{
    CliRun run;
    const bool finished = process.waitForFinished(deadlineMs);
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
    if (sources.maxAnswerMiB != DefaultMaxAnswerMiB)
        text += u"MaxAnswerMiB=%1\r\n"_s.arg(sources.maxAnswerMiB);
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
    writeSettings(m_folder.filePath(u"arfolyam.ini"_s), {mnb.url(), otp.origin(), certificate.certificatePath()});
}

QString FakeBanks::settingsSwitch() const
{
    return u"/settings"_s + m_folder.filePath(u"arfolyam.ini"_s);
}

bool FakeBanks::untouched() const
{
    return mnb.calls().isEmpty() && otp.requests().isEmpty();
}

QByteArray otpFixtureTable(const QDate &day)
{
    QFile file(QString::fromUtf8(ARFOLYAM_TEST_DATA "/otp-rates-2026-09-18.csv"));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("The OTP fixture table cannot be read.");
    return file.readAll().replace("2026.09.18", day.toString(u"yyyy.MM.dd"_s).toLatin1());
}

QString otpFixtureList(int rateType, bool onlyMiddle)
{
    if (onlyMiddle) {
        return u"Pénznem\tEgység\tKözép\n"
               "EUR\t1\t363.52\nUSD\t1\t316.48\nCHF\t1\t383.90\nGBP\t1\t423.31\n"
               "JPY\t100\t200.61\nCZK\t1\t14.94\nPLN\t1\t83.31\n"_s;
    }
    const QStringList rows[3] = {
        {u"EUR\t1\t363.52\t367.12\t359.92"_s, u"USD\t1\t316.48\t319.65\t313.31"_s, u"CHF\t1\t383.90\t387.74\t380.06"_s,
         u"GBP\t1\t423.31\t427.54\t419.08"_s, u"JPY\t100\t200.61\t202.62\t198.60"_s, u"CZK\t1\t14.94\t15.09\t14.79"_s,
         u"PLN\t1\t83.31\t84.14\t82.48"_s},
        {u"EUR\t1\t363.52\t373.63\t353.41"_s, u"USD\t1\t316.48\t325.82\t307.14"_s, u"CHF\t1\t383.90\t395.41\t372.39"_s,
         u"GBP\t1\t423.31\t436.01\t410.61"_s, u"JPY\t100\t200.61\t207.63\t193.59"_s, u"CZK\t1\t14.94\t15.68\t14.20"_s,
         u"PLN\t1\t83.31\t87.48\t79.14"_s},
        {u"EUR\t1\t363.52\t370.26\t356.78"_s, u"USD\t1\t316.48\t322.91\t310.05"_s, u"CHF\t1\t383.90\t391.58\t376.22"_s,
         u"GBP\t1\t423.31\t431.78\t414.84"_s, u"JPY\t100\t200.61\t204.62\t196.60"_s, u"CZK\t1\t14.94\t15.39\t14.49"_s,
         u"PLN\t1\t83.31\t85.81\t80.81"_s},
    };
    return u"Pénznem\tEgység\tKözép\tEladási\tVételi\n"_s + rows[rateType].join(u'\n') + u'\n';
}
