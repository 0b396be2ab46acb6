#include "fakes/FakeMnbServer.h"
#include "fakes/FakeProxy.h"
#include "fakes/SelfSignedCertificate.h"
#include "sources/MNBArfolyamServiceSoap.h"

#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

using Parameters = QList<std::pair<QString, QString>>;

class TestMnbSoap : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void operations_data();
    void operations();
    void requestBody();
    void escapesParameterText();
    void periodWithoutRates();
    void resultUnderAnyPrefix();
    void resultTextIsNotJudged();
    void severalCallsOnOneClient();
    void usesTheSystemProxy();
    void httpsEndpoint();

private:
    MNBArfolyamServiceSoap client() const;

    std::unique_ptr<FakeMnbServer> m_server;
};

namespace {

const QDate Friday(2026, 9, 18);

QString rates(const QDate &day, const QStringList &codes)
{
    QString rates;
    for (const QString &code : codes) {
        rates += u"<Rate unit=\"%1\" curr=\"%2\">%3</Rate>"_s.arg(FakeMnbServer::unit(code))
                     .arg(code, FakeMnbServer::rateText(code, day));
    }
    return u"<Day date=\"%1\">%2</Day>"_s.arg(day.toString(u"yyyy-MM-dd"_s), rates);
}

QString currencyList()
{
    QString list;
    for (const QString &code : FakeMnbServer::currencies())
        list += u"<Curr>%1</Curr>"_s.arg(code);
    return list;
}

QString call(MNBArfolyamServiceSoap &service, const QString &operation, const Parameters &parameters)
{
    const auto value = [&parameters](int i) { return parameters.value(i).second; };
    if (operation == u"GetCurrencies")
        return service.getCurrencies();
    if (operation == u"GetCurrencyUnits")
        return service.getCurrencyUnits(value(0));
    if (operation == u"GetCurrentExchangeRates")
        return service.getCurrentExchangeRates();
    if (operation == u"GetDateInterval")
        return service.getDateInterval();
    if (operation == u"GetExchangeRates")
        return service.getExchangeRates(value(0), value(1), value(2));
    return service.getInfo();
}

} // namespace

MNBArfolyamServiceSoap TestMnbSoap::client() const
{
    return MNBArfolyamServiceSoap(m_server->url(), {QString(), 5s, 1s});
}

void TestMnbSoap::initTestCase()
{
    // The service takes the system's proxy; none may stand between the test and the fake.
    for (const char *name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
        qunsetenv(name);
}

void TestMnbSoap::init()
{
    m_server = std::make_unique<FakeMnbServer>();
    m_server->setCurrentDay(Friday);
}

void TestMnbSoap::operations_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<Parameters>("parameters");
    QTest::addColumn<QString>("result");

    QTest::newRow("GetCurrencies")
        << u"GetCurrencies"_s << Parameters()
        << u"<MNBCurrencies><Currencies><Curr>HUF</Curr>%1</Currencies></MNBCurrencies>"_s.arg(currencyList());
    QTest::newRow("GetCurrencyUnits")
        << u"GetCurrencyUnits"_s << Parameters{{u"currencyNames"_s, u"EUR,JPY,KRW"_s}}
        << u"<MNBCurrencyUnits><Units><Unit curr=\"EUR\">1</Unit><Unit curr=\"JPY\">100</Unit>"
           "<Unit curr=\"KRW\">100</Unit></Units></MNBCurrencyUnits>"_s;
    QTest::newRow("GetCurrentExchangeRates")
        << u"GetCurrentExchangeRates"_s << Parameters()
        << u"<MNBCurrentExchangeRates>%1</MNBCurrentExchangeRates>"_s.arg(rates(Friday, FakeMnbServer::currencies()));
    QTest::newRow("GetDateInterval")
        << u"GetDateInterval"_s << Parameters()
        << u"<MNBStoredInterval><DateInterval startdate=\"1949-01-03\" enddate=\"2026-09-18\" /></MNBStoredInterval>"_s;
    QTest::newRow("GetExchangeRates") << u"GetExchangeRates"_s
                                      << Parameters{{u"startDate"_s, u"2026-09-04"_s},
                                                    {u"endDate"_s, u"2026-09-08"_s},
                                                    {u"currencyNames"_s, u"JPY,EUR"_s}}
                                      << u"<MNBExchangeRates>%1%2%3</MNBExchangeRates>"_s.arg(
                                             rates({2026, 9, 8}, {u"EUR"_s, u"JPY"_s}),
                                             rates({2026, 9, 7}, {u"EUR"_s, u"JPY"_s}),
                                             rates({2026, 9, 4}, {u"EUR"_s, u"JPY"_s}));
    QTest::newRow("GetInfo") << u"GetInfo"_s << Parameters()
                             << u"<MNBExchangeRatesQueryValues><FirstDate>1949-01-03</FirstDate><LastDate>2026-09-18"
                                "</LastDate><Currencies>%1</Currencies></MNBExchangeRatesQueryValues>"_s.arg(
                                    currencyList());
}

void TestMnbSoap::operations()
{
    QFETCH(QString, operation);
    QFETCH(Parameters, parameters);
    QFETCH(QString, result);

    MNBArfolyamServiceSoap service = client();
    QCOMPARE(call(service, operation, parameters), result);

    const QList<FakeMnbCall> calls = m_server->calls();
    QCOMPARE(calls.size(), 1);
    const FakeMnbCall &call = calls[0];
    QCOMPARE(call.request.method, "POST");
    QCOMPARE(call.request.target, "/arfolyamok.asmx");
    QCOMPARE(call.request.header("Content-Type"), "text/xml; charset=utf-8");
    QCOMPARE(call.request.header("SOAPAction"),
             "\"http://www.mnb.hu/webservices/MNBArfolyamServiceSoap/" + operation.toUtf8() + '"');
    QCOMPARE(call.operation, operation);
    QCOMPARE(call.parameters, parameters);
}

void TestMnbSoap::requestBody()
{
    MNBArfolyamServiceSoap service = client();
    service.getExchangeRates(u"2026-09-01"_s, u"2026-09-08"_s, u"EUR,USD"_s);
    const QByteArray body = m_server->calls().value(0).request.body;
    QVERIFY2(
        body.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                        "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
                        "<GetExchangeRates xmlns=\"http://www.mnb.hu/webservices/\"><startDate>2026-09-01</startDate>"
                        "<endDate>2026-09-08</endDate><currencyNames>EUR,USD</currencyNames></GetExchangeRates>"),
        body.constData());
}

void TestMnbSoap::escapesParameterText()
{
    MNBArfolyamServiceSoap service = client();
    service.getCurrencyUnits(u"EUR&<USD>\"ő"_s);
    QCOMPARE(m_server->calls().value(0).parameters, (Parameters{{u"currencyNames"_s, u"EUR&<USD>\"ő"_s}}));
}

void TestMnbSoap::periodWithoutRates()
{
    MNBArfolyamServiceSoap service = client();
    QCOMPARE(service.getExchangeRates(u"2026-09-19"_s, u"2026-09-20"_s, u"EUR"_s), u"<MNBExchangeRates />"_s);
}

void TestMnbSoap::resultUnderAnyPrefix()
{
    m_server->answerNext(FakeReply::withBody(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
        "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">"
        "<soap:Header/><soap:Body><m:GetInfoResponse xmlns:m=\"http://www.mnb.hu/webservices/\">"
        "<m:GetInfoResult>&lt;Info a=\"1\"/&gt;<![CDATA[<b/>]]></m:GetInfoResult></m:GetInfoResponse>"
        "</soap:Body></soap:Envelope>"));
    MNBArfolyamServiceSoap service = client();
    QCOMPARE(service.getInfo(), u"<Info a=\"1\"/><b/>"_s);
}

void TestMnbSoap::resultTextIsNotJudged()
{
    m_server->answerNextWithResult(u"ez nem XML <"_s);
    MNBArfolyamServiceSoap service = client();
    QCOMPARE(service.getCurrentExchangeRates(), u"ez nem XML <"_s);
}

void TestMnbSoap::severalCallsOnOneClient()
{
    MNBArfolyamServiceSoap service = client();
    QVERIFY(service.getExchangeRates(u"2026-09-01"_s, u"2026-09-18"_s, u"EUR,USD,GBP"_s).contains(u"2026-09-01"_s));
    QCOMPARE(service.getCurrencyUnits(u"USD"_s),
             u"<MNBCurrencyUnits><Units><Unit curr=\"USD\">1</Unit></Units></MNBCurrencyUnits>"_s);
    QVERIFY(service.getDateInterval().contains(u"enddate=\"2026-09-18\""_s));

    const QList<FakeMnbCall> calls = m_server->calls();
    QCOMPARE(calls.size(), 3);
    QCOMPARE(calls[1].operation, u"GetCurrencyUnits"_s);
    QCOMPARE(calls[2].parameters, Parameters());
}

void TestMnbSoap::usesTheSystemProxy()
{
    FakeProxy proxy;
    qputenv("http_proxy", u"http://127.0.0.1:%1"_s.arg(proxy.port()).toLatin1());
    QString interval;
    {
        MNBArfolyamServiceSoap service = client();
        interval = service.getDateInterval();
    }
    qunsetenv("http_proxy");
    QVERIFY(interval.contains(u"enddate=\"2026-09-18\""_s));
    const QList<FakeProxyRequest> requests = proxy.requests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests[0].requestLine, "POST " + m_server->url().toUtf8() + " HTTP/1.1");
}

void TestMnbSoap::httpsEndpoint()
{
    const SelfSignedCertificate certificate;
    FakeMnbServer server(certificate);
    server.setCurrentDay(Friday);
    QVERIFY(server.url().startsWith(u"https://"_s));
    MNBArfolyamServiceSoap service(server.url(), {certificate.certificatePath(), 5s, 1s});
    QVERIFY(service.getDateInterval().contains(u"enddate=\"2026-09-18\""_s));
    QCOMPARE(server.calls().value(0).request.tlsVersion, "TLSv1.2");
}

QTEST_GUILESS_MAIN(TestMnbSoap)
#include "TestMnbSoap.moc"
