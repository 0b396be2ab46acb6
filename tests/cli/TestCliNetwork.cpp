#include "CliHarness.h"
#include "fakes/FakeProxy.h"
#include "fakes/SelfSignedCertificate.h"
#include "sources/BankCatalogue.h"
#include "startup/Formats.h"

#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

using Parameters = QList<std::pair<QString, QString>>;

class TestCliNetwork : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void centralBankCurrentRates();
    void otpOverHttps();
    void otpThroughSettingsProxy();
    void history_data();
    void history();

private:
    std::unique_ptr<SelfSignedCertificate> m_certificate;
    std::unique_ptr<FakeBanks> m_banks;
};

namespace {

const QDate Friday(2026, 9, 18);

// A central-bank rate as the rate list shows it: per unit, two decimals.
QString listedRate(const QString &code, const QDate &day)
{
    return formatRate(FakeMnbServer::rate(code, day) / FakeMnbServer::unit(code));
}

} // namespace

void TestCliNetwork::initTestCase()
{
    m_certificate = std::make_unique<SelfSignedCertificate>();
}

void TestCliNetwork::init()
{
    m_banks = std::make_unique<FakeBanks>(*m_certificate);
    m_banks->mnb.setCurrentDay(Friday);
}

void TestCliNetwork::cleanup()
{
    m_banks.reset();
}

void TestCliNetwork::centralBankCurrentRates()
{
    const CliRun run = runCli({u"/show"_s, m_banks->settingsSwitch()});

    QString list = u"Pénznem\tEgység\tKözép\n"_s;
    for (const QString &code : FakeMnbServer::currencies())
        list += u"%1\t%2\t%3\n"_s.arg(code).arg(FakeMnbServer::unit(code)).arg(listedRate(code, Friday));
    QCOMPARE(FakeMnbServer::currencies().size(), 32);
    QCOMPARE(run.err, QString());
    QCOMPARE(lines(run.out), lines(connectSteps() + list + ShowClosingLine));
    QCOMPARE(run.exitCode, 0);

    const QList<FakeMnbCall> calls = m_banks->mnb.calls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].operation, u"GetCurrentExchangeRates"_s);
    QCOMPARE(calls[0].soapAction, u"http://www.mnb.hu/webservices/MNBArfolyamServiceSoap/GetCurrentExchangeRates"_s);
    QVERIFY(m_banks->otp.requests().isEmpty());
}

void TestCliNetwork::otpOverHttps()
{
    m_banks->otp.answerNext(FakeReply::withBody(otpFixtureTable(QDate::currentDate())));
    const CliRun run = runCli({u"/show"_s, u"/bOTP"_s, m_banks->settingsSwitch()});
    // Today's table: no warning that it is out of date.
    QCOMPARE(run.err, QString());
    QCOMPARE(lines(run.out), lines(connectSteps() + otpFixtureList(0, false) + ShowClosingLine));
    QCOMPARE(run.exitCode, 0);

    const QList<FakeOtpRequest> requests = m_banks->otp.requests();
    QCOMPARE(requests.size(), 1);
    const QString today = QDate::currentDate().toString(u"yyyy-MM-dd"_s);
    QCOMPARE(requests[0].from, today);
    QCOMPARE(requests[0].to, today);
    QCOMPARE(requests[0].currencies, FakeOtpServer::DefaultCurrencies.join(u','));
    QCOMPARE(requests[0].lang, u"HU"_s);
    QCOMPARE(requests[0].request.tlsVersion, "TLSv1.2");
    QVERIFY(m_banks->mnb.calls().isEmpty());
}

void TestCliNetwork::otpThroughSettingsProxy()
{
    FakeProxy proxy;
    proxy.demandAuthorization(u"józsef"_s, u"titok"_s);
    QTemporaryDir folder;
    const QString settings = folder.filePath(u"arfolyam.ini"_s);
    writeSettings(settings, {m_banks->mnb.url(), m_banks->otp.origin(), m_certificate->certificatePath()},
                  {true, u"127.0.0.1"_s, proxy.port(), u"józsef"_s, u"titok"_s});

    m_banks->otp.answerNext(FakeReply::withBody(otpFixtureTable(QDate::currentDate())));
    const CliRun run = runCli({u"/show"_s, u"/bOTP"_s, u"/ct1"_s, u"/settings"_s + settings});
    QCOMPARE(run.err, QString());
    QCOMPARE(lines(run.out), lines(connectSteps() + otpFixtureList(1, false) + ShowClosingLine));
    QCOMPARE(run.exitCode, 0);

    const QList<FakeProxyRequest> requests = proxy.requests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests[0].requestLine, "CONNECT 127.0.0.1:" + QByteArray::number(m_banks->otp.port()) + " HTTP/1.1");
    QCOMPARE(requests[0].proxyAuthorization, "Basic " + u"józsef:titok"_s.toUtf8().toBase64());
    QCOMPARE(m_banks->otp.requests().size(), 1);
}

void TestCliNetwork::history_data()
{
    QTest::addColumn<QStringList>("switches");
    QTest::addColumn<Parameters>("sent");
    // Newest first, as the service answers.
    QTest::addColumn<QList<QDate>>("days");
    QTest::addColumn<QStringList>("codes");

    QTest::newRow("one week") << QStringList{u"/from2026.09.01"_s, u"/to2026.09.08"_s, u"/currEUR,USD"_s}
                              << Parameters{{u"startDate"_s, u"2026-09-01"_s},
                                            {u"endDate"_s, u"2026-09-08"_s},
                                            {u"currencyNames"_s, u"EUR,USD"_s}}
                              << QList<QDate>{{2026, 9, 8}, {2026, 9, 7}, {2026, 9, 4},
                                              {2026, 9, 3}, {2026, 9, 2}, {2026, 9, 1}}
                              << QStringList{u"EUR"_s, u"USD"_s};
    QTest::newRow("codes in lower case")
        << QStringList{u"/FROM2026.09.14"_s, u"/To2026.09.18"_s, u"/Currusd,eur"_s}
        << Parameters{{u"startDate"_s, u"2026-09-14"_s},
                      {u"endDate"_s, u"2026-09-18"_s},
                      {u"currencyNames"_s, u"USD,EUR"_s}}
        << QList<QDate>{{2026, 9, 18}, {2026, 9, 17}, {2026, 9, 16}, {2026, 9, 15}, {2026, 9, 14}}
        << QStringList{u"EUR"_s, u"USD"_s};
    QTest::newRow("one day, unit 100") << QStringList{u"/from2026.09.18"_s, u"/to2026.09.18"_s, u"/currJPY"_s}
                                       << Parameters{{u"startDate"_s, u"2026-09-18"_s},
                                                     {u"endDate"_s, u"2026-09-18"_s},
                                                     {u"currencyNames"_s, u"JPY"_s}}
                                       << QList<QDate>{{2026, 9, 18}} << QStringList{u"JPY"_s};
    QTest::newRow("period from the first of the year by default")
        << QStringList{u"/to2026.01.06"_s, u"/currEUR"_s}
        << Parameters{{u"startDate"_s, u"2026-01-01"_s},
                      {u"endDate"_s, u"2026-01-06"_s},
                      {u"currencyNames"_s, u"EUR"_s}}
        << QList<QDate>{{2026, 1, 6}, {2026, 1, 5}, {2026, 1, 2}, {2026, 1, 1}} << QStringList{u"EUR"_s};
    QTest::newRow("weekend without rates") << QStringList{u"/from2026.09.19"_s, u"/to2026.09.20"_s, u"/currEUR"_s}
                                           << Parameters{{u"startDate"_s, u"2026-09-19"_s},
                                                         {u"endDate"_s, u"2026-09-20"_s},
                                                         {u"currencyNames"_s, u"EUR"_s}}
                                           << QList<QDate>() << QStringList{u"EUR"_s};
}

void TestCliNetwork::history()
{
    QFETCH(QStringList, switches);
    QFETCH(Parameters, sent);
    QFETCH(QList<QDate>, days);
    QFETCH(QStringList, codes);

    const CliRun run = runCli(QStringList{u"/show"_s, u"/history"_s, m_banks->settingsSwitch()} + switches);

    QString list = u"Dátum\tPénznem\tEgység\tKözép\n"_s;
    for (const QDate &day : days) {
        for (const QString &code : codes) {
            list += u"%1\t%2\t%3\t%4\n"_s.arg(day.toString(u"yyyy.MM.dd"_s), code)
                        .arg(FakeMnbServer::unit(code))
                        .arg(listedRate(code, day));
        }
    }
    QCOMPARE(run.err, QString());
    QCOMPARE(lines(run.out), lines(connectSteps() + list + ShowClosingLine));
    QCOMPARE(run.exitCode, 0);

    const QList<FakeMnbCall> calls = m_banks->mnb.calls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].operation, u"GetExchangeRates"_s);
    QCOMPARE(calls[0].soapAction, u"http://www.mnb.hu/webservices/MNBArfolyamServiceSoap/GetExchangeRates"_s);
    QCOMPARE(calls[0].parameters, sent);
}

QTEST_GUILESS_MAIN(TestCliNetwork)
#include "TestCliNetwork.moc"
