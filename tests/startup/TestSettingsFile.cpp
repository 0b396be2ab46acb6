#include "startup/IniFile.h"
#include "startup/SettingsFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString Mnb = u"Magyar Nemzeti Bank"_s;
const QString Otp = u"Országos TakarékPénztár"_s;

void writeText(const QString &path, const QString &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT

private slots:
    void init();

    void pathIsBesideTheExecutable();
    void proxy_data();
    void proxy();
    void sources_data();
    void sources();
    void storedSelection_data();
    void storedSelection();
    void storeThenReadBack();
    void unlistedCurrencyDisappearsAtNextStore();
    void storeFailureNamesTheFile();
    void codesThatWouldBreakTheFileAreNotStored();

private:
    QString iniPath() const { return m_dir->filePath(u"arfolyam.ini"_s); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSettingsFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestSettingsFile::pathIsBesideTheExecutable()
{
    const QFileInfo settings(settingsFilePath());
    QCOMPARE(settings.fileName(), u"TestSettingsFile.ini"_s);
    QCOMPARE(settings.absolutePath(), QCoreApplication::applicationDirPath());
}

void TestSettingsFile::proxy_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<bool>("basic");
    QTest::addColumn<QString>("server");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");

    QTest::newRow("no file") << QString() << false << QString() << 0 << QString() << QString();
    QTest::newRow("empty section") << u"[Proxy Settings]\r\n\r\n[Other]\r\nProxyPort=1\r\n"_s << false << QString() << 0
                                   << QString() << QString();
    QTest::newRow("all keys") << u"[proxy settings]\r\nBasicAuthentication=1\r\nProxyServer=proxy.local\r\n"
                                 "ProxyPort=3128\r\nProxyUsername=józsef\r\nProxyPassword=\" titok= \"\r\n"_s
                              << true << u"proxy.local"_s << 3128 << u"józsef"_s << u" titok= "_s;
    QTest::newRow("hex port") << u"[Proxy Settings]\r\nProxyPort=0x1F\r\n"_s << false << QString() << 31 << QString()
                              << QString();
    QTest::newRow("port abc") << u"[Proxy Settings]\r\nProxyPort=abc\r\n"_s << false << QString() << 0 << QString()
                              << QString();
    QTest::newRow("basic 2") << u"[Proxy Settings]\r\nBasicAuthentication=2\r\n"_s << true << QString() << 0
                             << QString() << QString();
    QTest::newRow("basic yes") << u"[Proxy Settings]\r\nBasicAuthentication=yes\r\n"_s << false << QString() << 0
                               << QString() << QString();
}

void TestSettingsFile::proxy()
{
    QFETCH(QString, content);
    QFETCH(bool, basic);
    QFETCH(QString, server);
    QFETCH(int, port);
    QFETCH(QString, user);
    QFETCH(QString, password);
    if (!content.isNull())
        writeText(iniPath(), content);

    const ProxySettings proxy = readProxySettings(iniPath());
    QCOMPARE(proxy.basicAuthentication, basic);
    QCOMPARE(proxy.proxyServer, server);
    QCOMPARE(proxy.proxyPort, port);
    QCOMPARE(proxy.proxyUsername, user);
    QCOMPARE(proxy.proxyPassword, password);
}

void TestSettingsFile::sources_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("mnb");
    QTest::addColumn<QString>("otp");
    QTest::addColumn<QString>("caFile");

    const QString mnb = u"http://www.mnb.hu/arfolyamok.asmx"_s;
    const QString otp = u"https://www.otpbank.hu"_s;
    QTest::newRow("no file") << QString() << mnb << otp << QString();
    QTest::newRow("redirected") << u"[Sources]\nMNBServiceUrl=http://127.0.0.1:8080/arfolyamok.asmx\n"
                                   "OTPBaseUrl=https://127.0.0.1:8443\nCAFile=/tmp/ca.pem\n"_s
                                << u"http://127.0.0.1:8080/arfolyamok.asmx"_s << u"https://127.0.0.1:8443"_s
                                << u"/tmp/ca.pem"_s;
    QTest::newRow("blank endpoints keep the defaults")
        << u"[Sources]\nMNBServiceUrl=\nOTPBaseUrl=\"\"\n"_s << mnb << otp << QString();
}

void TestSettingsFile::sources()
{
    QFETCH(QString, content);
    QFETCH(QString, mnb);
    QFETCH(QString, otp);
    QFETCH(QString, caFile);
    if (!content.isNull())
        writeText(iniPath(), content);

    const SourceSettings sources = readSourceSettings(iniPath());
    QCOMPARE(sources.mnbServiceUrl, mnb);
    QCOMPARE(sources.otpBaseUrl, otp);
    QCOMPARE(sources.caFile, caFile);
}

void TestSettingsFile::storedSelection_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QVector<bool>>("expected");

    QTest::newRow("no file") << QString() << Mnb << QVector<bool>{false, false, false, false};
    QTest::newRow("stored example") << u"[Magyar Nemzeti Bank]\r\nEUR=1\r\nUSD=1\r\nCHF=0\r\n"_s << Mnb
                                    << QVector<bool>{true, true, false, false};
    QTest::newRow("section in lower case")
        << u"[magyar nemzeti bank]\r\nchf=1\r\n"_s << Mnb << QVector<bool>{false, false, true, false};
    QTest::newRow("other bank's section")
        << u"[Magyar Nemzeti Bank]\r\nEUR=1\r\n"_s << Otp << QVector<bool>{false, false, false, false};
    QTest::newRow("odd flags") << u"[Országos TakarékPénztár]\r\nEUR=yes\r\nUSD=2\r\nCHF=\r\nGBP=0x1\r\n"_s << Otp
                               << QVector<bool>{false, true, false, true};
}

void TestSettingsFile::storedSelection()
{
    QFETCH(QString, content);
    QFETCH(QString, section);
    QFETCH(QVector<bool>, expected);
    if (!content.isNull())
        writeText(iniPath(), content);
    QCOMPARE(readStoredSelection(iniPath(), section, {u"EUR"_s, u"USD"_s, u"CHF"_s, u"GBP"_s}), expected);
}

void TestSettingsFile::storeThenReadBack()
{
    writeText(iniPath(), u"[Proxy Settings]\r\nProxyServer=proxy.local\r\n"_s);
    storeSelection(iniPath(), Otp, {{u"CHF"_s, false}, {u"EUR"_s, true}, {u"GBP"_s, false}, {u"USD"_s, true}});

    QCOMPARE(readText(iniPath()),
             u"[Proxy Settings]\r\nProxyServer=proxy.local\r\n\r\n"
             "[Országos TakarékPénztár]\r\nCHF=0\r\nEUR=1\r\nGBP=0\r\nUSD=1\r\n"_s);
    QCOMPARE(readStoredSelection(iniPath(), Otp, {u"EUR"_s, u"USD"_s, u"CHF"_s, u"GBP"_s, u"JPY"_s}),
             (QVector<bool>{true, true, false, false, false}));
    QCOMPARE(readProxySettings(iniPath()).proxyServer, u"proxy.local"_s);
}

void TestSettingsFile::unlistedCurrencyDisappearsAtNextStore()
{
    storeSelection(iniPath(), Mnb, {{u"EUR"_s, true}, {u"HRK"_s, true}});
    storeSelection(iniPath(), Otp, {{u"USD"_s, true}});
    storeSelection(iniPath(), u"MAGYAR NEMZETI BANK"_s, {{u"EUR"_s, false}, {u"USD"_s, true}});

    const IniFile ini(iniPath());
    QCOMPARE(ini.readString(Mnb, u"HRK"_s, u"gone"_s), u"gone"_s);
    QCOMPARE(readStoredSelection(iniPath(), Mnb, {u"EUR"_s, u"USD"_s}), (QVector<bool>{false, true}));
    QCOMPARE(readStoredSelection(iniPath(), Otp, {u"USD"_s}), QVector<bool>{true});
}

void TestSettingsFile::storeFailureNamesTheFile()
{
    // A parent that is a regular file stops the write for root as well.
    const QString blocker = m_dir->filePath(u"not-a-folder"_s);
    writeText(blocker, u"x"_s);
    const QString path = blocker + u"/arfolyam.ini"_s;
    try {
        storeSelection(path, Mnb, {{u"EUR"_s, true}});
        QFAIL("storing did not fail");
    } catch (const IniWriteError &error) {
        QCOMPARE(error.message(), u"Unable to write to "_s + path);
    }
}

void TestSettingsFile::codesThatWouldBreakTheFileAreNotStored()
{
    storeSelection(iniPath(), Mnb,
                   {{u"EUR"_s, true},
                    {u"E=R"_s, true},
                    {u"[AB"_s, true},
                    {u"U\nSD"_s, true},
                    {QString(), true},
                    {u"USD"_s, false}});
    QCOMPARE(readText(iniPath()), u"[Magyar Nemzeti Bank]\r\nEUR=1\r\nUSD=0\r\n"_s);
    QCOMPARE(readStoredSelection(iniPath(), Mnb, {u"EUR"_s, u"USD"_s}), (QVector<bool>{true, false}));
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "TestSettingsFile.moc"
