#include "fakes/FakeMnbServer.h"
#include "fakes/LoopbackPorts.h"
#include "sources/MNBArfolyamServiceSoap.h"
#include "sources/SourceError.h"

#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(FakeReply)

class TestMnbSoapFailures : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void failedAnswers_data();
    void failedAnswers();
    void unreachableEndpoint();
    void addressWithoutCredentials_data();
    void addressWithoutCredentials();
};

namespace {

// Small enough for a test answer to go over it.
constexpr qint64 AnswerLimit = 1024 * 1024;

// The message of the SourceError the call raised; empty when it raised none.
QString failureOf(MNBArfolyamServiceSoap &service)
{
    try {
        service.getCurrentExchangeRates();
    } catch (const SourceError &error) {
        return error.message();
    }
    return {};
}

} // namespace

void TestMnbSoapFailures::initTestCase()
{
    for (const char *name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"})
        qunsetenv(name);
}

void TestMnbSoapFailures::failedAnswers_data()
{
    QTest::addColumn<FakeReply>("reply");
    // %1 stands for the endpoint.
    QTest::addColumn<QString>("message");
    // Otherwise the message only begins so.
    QTest::addColumn<bool>("whole");

    const QByteArray fault = FakeMnbServer::fault(u"Érvénytelen dátum."_s);
    const QByteArray withoutResult =
        "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body><GetCurrentExchangeRatesResponse "
        "xmlns=\"http://www.mnb.hu/webservices/\"/></s:Body></s:Envelope>";
    QTest::newRow("fault") << FakeReply::withStatus(500, fault) << u"Érvénytelen dátum."_s << true;
    QTest::newRow("fault with status 200") << FakeReply::withStatus(200, fault) << u"Érvénytelen dátum."_s << true;
    QTest::newRow("404") << FakeReply::withStatus(404, "<html><body>Not Found</body></html>")
                         << u"Az MNB árfolyam-szolgáltatása hibával válaszolt (%1): HTTP/1.1 404 Not Found"_s << true;
    QTest::newRow("500 without fault")
        << FakeReply::withStatus(500, "Runtime Error")
        << u"Az MNB árfolyam-szolgáltatása hibával válaszolt (%1): HTTP/1.1 500 Internal Server Error"_s << true;
    // A saved answer is read by the same rules, with the same messages.
    QTest::newRow("not XML") << FakeReply::withBody("Szolgáltatás átmenetileg nem elérhető")
                             << u"A jegybank válasza nem olvasható XML-dokumentum (No document element found, a(z) "
                                "43. bájtnál)."_s
                             << true;
    QTest::newRow("empty") << FakeReply::withBody("")
                           << u"A jegybank válasza nem olvasható XML-dokumentum (No document element found, a(z) 1. "
                              "bájtnál)."_s
                           << true;
    QTest::newRow("no result") << FakeReply::withBody(withoutResult)
                               << u"A jegybank válaszából hiányzik az eredmény elem."_s << true;
    QTest::newRow("cut off") << FakeReply::withTransfer(FakeTransfer::CutOff)
                             << u"Az MNB árfolyam-szolgáltatása nem érhető el (%1): A válasz csonka: a kapcsolat "
                                "az átvitel vége előtt megszakadt."_s
                             << true;
    QTest::newRow("stall") << FakeReply::withTransfer(FakeTransfer::Stall)
                           << u"Az MNB árfolyam-szolgáltatása nem érhető el (%1): A kiszolgáló 1 másodpercig nem "
                              "küldött adatot, az átvitel megszakadt."_s
                           << true;
    QTest::newRow("over the size limit")
        << FakeReply::withBody(QByteArray(AnswerLimit + 1, ' '))
        << u"Az MNB árfolyam-szolgáltatása nem érhető el (%1): A válasz nagyobb a megengedett 1 MiB-nál, ezért az "
           "átvitel megszakadt. A korlát a beállításfájl [Sources] szakaszának MaxAnswerMiB kulcsával emelhető."_s
        << true;
}

void TestMnbSoapFailures::failedAnswers()
{
    QFETCH(FakeReply, reply);
    QFETCH(QString, message);
    QFETCH(bool, whole);

    FakeMnbServer server;
    server.answerNext(reply);
    const QString expected = message.contains(u"%1"_s) ? message.arg(server.url()) : message;
    QString failure;
    {
        MNBArfolyamServiceSoap service(server.url(), {QString(), 5s, 1s, 1});
        failure = failureOf(service);
    }
    if (whole)
        QCOMPARE(failure, expected);
    else
        QVERIFY2(failure.startsWith(expected) && failure.size() > expected.size(), qPrintable(failure));
}

void TestMnbSoapFailures::unreachableEndpoint()
{
    const int port = closedLoopbackPort();
    const QString endpoint = u"http://127.0.0.1:%1/arfolyamok.asmx"_s.arg(port);
    MNBArfolyamServiceSoap service(endpoint, {QString(), 5s, 1s});
    const QString failure = failureOf(service);
    QVERIFY2(
        failure.startsWith(
            u"Az MNB árfolyam-szolgáltatása nem érhető el (%1): Failed to connect to 127.0.0.1 port %2"_s.arg(endpoint)
                .arg(port)),
        qPrintable(failure));
}

void TestMnbSoapFailures::addressWithoutCredentials_data()
{
    QTest::addColumn<bool>("reachable");
    // %1 stands for the endpoint without its user name and password.
    QTest::addColumn<QString>("message");

    QTest::newRow("error status")
        << true << u"Az MNB árfolyam-szolgáltatása hibával válaszolt (%1): HTTP/1.1 500 Internal Server Error"_s;
    QTest::newRow("unreachable") << false
                                 << u"Az MNB árfolyam-szolgáltatása nem érhető el (%1): Failed to connect to "_s;
}

void TestMnbSoapFailures::addressWithoutCredentials()
{
    QFETCH(bool, reachable);
    QFETCH(QString, message);

    FakeMnbServer server;
    server.answerNext(FakeReply::withStatus(500, "Runtime Error"));
    const int port = reachable ? server.port() : closedLoopbackPort();
    const QString path = u"127.0.0.1:%1/arfolyamok.asmx"_s.arg(port);
    QString failure;
    {
        MNBArfolyamServiceSoap service(u"http://anna:titok@"_s + path, {QString(), 5s, 1s});
        failure = failureOf(service);
    }
    QVERIFY2(failure.startsWith(message.arg(u"http://"_s + path)), qPrintable(failure));
    QVERIFY2(!failure.contains(u"anna"_s) && !failure.contains(u"titok"_s), qPrintable(failure));
    QCOMPARE(server.calls().size(), reachable ? 1 : 0);
}

QTEST_GUILESS_MAIN(TestMnbSoapFailures)
#include "TestMnbSoapFailures.moc"
