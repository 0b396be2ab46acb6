#include "fakes/FakeOtpServer.h"
#include "fakes/FakeProxy.h"
#include "fakes/LoopbackPorts.h"
#include "fakes/SelfSignedCertificate.h"
#include "sources/DownloadClient.h"
#include "sources/SourceError.h"

#include <QBuffer>
#include <QTest>
#include <future>
#include <memory>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(FakeReply)

namespace {
// A whole MiB, as the settings file sets limits.
constexpr qint64 AnswerLimit = 1024 * 1024;

// The download's error text, or none when it succeeded.
std::optional<QString> download(DownloadClient &client, const QString &address, QIODevice &body)
{
    try {
        client.get(address, body);
        return std::nullopt;
    } catch (const SourceError &e) {
        return e.message();
    }
}
} // namespace

class TestDownloadClient : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void sendsFixedHeaders();
    void tlsOnlyForExactScheme_data();
    void tlsOnlyForExactScheme();
    void failedAnswers_data();
    void failedAnswers();
    void trickleIsNoStall();
    void answerSizeLimit_data();
    void answerSizeLimit();
    void refusedConnection();
    void connectTimeOut();
    void untrustedCertificate();
    void certificateForAnotherHost();
    void keepsCookiesForTheRun();
    void proxy_data();
    void proxy();

private:
    TransferSettings settings() const;
    QString tableUrl(const FakeOtpServer &server) const;

    std::unique_ptr<SelfSignedCertificate> m_certificate;
    std::unique_ptr<FakeOtpServer> m_https;
    std::unique_ptr<FakeOtpServer> m_http;
    const QDate m_day{2026, 9, 18};
};

TransferSettings TestDownloadClient::settings() const
{
    TransferSettings settings;
    settings.caFile = m_certificate->certificatePath();
    settings.connectTimeout = 5s;
    settings.stallTimeout = 1s;
    return settings;
}

QString TestDownloadClient::tableUrl(const FakeOtpServer &server) const
{
    return server.tableUrl(m_day, {u"EUR"_s, u"JPY"_s});
}

void TestDownloadClient::initTestCase()
{
    m_certificate = std::make_unique<SelfSignedCertificate>();
}

void TestDownloadClient::init()
{
    m_https = std::make_unique<FakeOtpServer>(*m_certificate);
    m_http = std::make_unique<FakeOtpServer>();
}

void TestDownloadClient::sendsFixedHeaders()
{
    DownloadClient client({}, settings());
    QBuffer body;
    body.open(QIODevice::WriteOnly);
    QCOMPARE(download(client, tableUrl(*m_https), body).value_or(QString()), QString());
    QCOMPARE(body.data(), m_https->table(m_day, {u"EUR"_s, u"JPY"_s}).toUtf8());

    const RecordedRequest request = m_https->requests().value(0).request;
    QCOMPARE(request.method, "GET");
    QCOMPARE(request.version, "HTTP/1.1");
    // The fake offers TLS 1.3 too.
    QCOMPARE(request.tlsVersion, "TLSv1.2");
    QStringList names;
    for (const auto &header : request.headers)
        names.append(QString::fromLatin1(header.first).toLower());
    names.sort();
    QCOMPARE(names, (QStringList{u"accept"_s, u"host"_s, u"user-agent"_s}));
    QCOMPARE(request.header("Accept"), "text/html, */*");
    QCOMPARE(request.header("User-Agent"), "Mozilla/3.0 (compatible; Indy Library)");
}

void TestDownloadClient::tlsOnlyForExactScheme_data()
{
    QTest::addColumn<bool>("tlsServer");
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<bool>("succeeds");

    QTest::newRow("https to TLS") << true << u"https://"_s << true;
    QTest::newRow("HTTPS to plain") << false << u"HTTPS://"_s << true;
    QTest::newRow("Https to plain") << false << u"Https://"_s << true;
    QTest::newRow("HTTPS to TLS") << true << u"HTTPS://"_s << false;
    QTest::newRow("http to plain") << false << u"http://"_s << true;
}

void TestDownloadClient::tlsOnlyForExactScheme()
{
    QFETCH(bool, tlsServer);
    QFETCH(QString, scheme);
    QFETCH(bool, succeeds);

    const FakeOtpServer &server = tlsServer ? *m_https : *m_http;
    const QString address = scheme + tableUrl(server).section(u"://"_s, 1);
    DownloadClient client({}, settings());
    QBuffer body;
    body.open(QIODevice::WriteOnly);
    const std::optional<QString> error = download(client, address, body);
    QCOMPARE(!error.has_value(), succeeds);
    if (succeeds)
        QVERIFY(body.data().contains("EUR;2026.09.18 05:56;1;"));
}

void TestDownloadClient::failedAnswers_data()
{
    QTest::addColumn<FakeReply>("reply");
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("writesNothing");

    const QString truncated = u"A válasz csonka: a kapcsolat az átvitel vége előtt megszakadt."_s;
    QTest::newRow("404") << FakeReply::withStatus(404, "<html>nincs ilyen</html>") << u"HTTP/1.1 404 Not Found"_s
                         << true;
    QTest::newRow("500") << FakeReply::withStatus(500, "hiba") << u"HTTP/1.1 500 Internal Server Error"_s << true;
    FakeReply redirect = FakeReply::withStatus(302, "");
    redirect.headers = {{"Location", "http://127.0.0.1:1/elsewhere"}};
    QTest::newRow("redirect") << redirect << u"HTTP/1.1 302 Found"_s << true;
    QTest::newRow("cut off") << FakeReply::withTransfer(FakeTransfer::CutOff) << truncated << false;
    QTest::newRow("cut off chunked") << FakeReply::withTransfer(FakeTransfer::CutOffChunked) << truncated << false;
    QTest::newRow("stall") << FakeReply::withTransfer(FakeTransfer::Stall)
                           << u"A kiszolgáló 1 másodpercig nem küldött adatot, az átvitel megszakadt."_s << true;
}

void TestDownloadClient::failedAnswers()
{
    QFETCH(FakeReply, reply);
    QFETCH(QString, error);
    QFETCH(bool, writesNothing);

    DownloadClient client({}, settings());
    QBuffer first;
    first.open(QIODevice::WriteOnly);
    QCOMPARE(download(client, tableUrl(*m_https), first).value_or(QString()), QString());
    // The failing request goes over the connection the first one left open.
    m_https->answerNext(reply);
    QBuffer body;
    body.open(QIODevice::WriteOnly);
    QCOMPARE(download(client, tableUrl(*m_https), body).value_or(QString()), error);
    QCOMPARE(body.data().isEmpty(), writesNothing);
    QCOMPARE(m_https->requests().size(), 2);
}

void TestDownloadClient::trickleIsNoStall()
{
    // Each pause is half the stall time-out, the whole transfer several of them.
    const QByteArray text = "0123456789";
    m_https->answerNext(FakeReply::withTrickle(text, 500ms));
    DownloadClient client({}, settings());
    QBuffer body;
    body.open(QIODevice::WriteOnly);
    QCOMPARE(download(client, tableUrl(*m_https), body).value_or(QString()), QString());
    QCOMPARE(body.data(), text);
}

void TestDownloadClient::answerSizeLimit_data()
{
    QTest::addColumn<qint64>("bodyBytes");
    QTest::addColumn<QString>("error");

    const QString tooLarge = u"A válasz nagyobb a megengedett 1 MiB-nál, ezért az átvitel megszakadt. A korlát a "
                             u"beállításfájl [Sources] szakaszának MaxAnswerMiB kulcsával emelhető."_s;
    QTest::newRow("at the limit") << AnswerLimit << QString();
    QTest::newRow("one byte over") << AnswerLimit + 1 << tooLarge;
    QTest::newRow("far over") << 4 * AnswerLimit << tooLarge;
}

void TestDownloadClient::answerSizeLimit()
{
    QFETCH(qint64, bodyBytes);
    QFETCH(QString, error);

    TransferSettings limited = settings();
    limited.maxAnswerMiB = 1;
    const QByteArray text(bodyBytes, 'x');
    m_https->answerNext(FakeReply::withBody(text));
    DownloadClient client({}, limited);
    QBuffer body;
    body.open(QIODevice::WriteOnly);
    QCOMPARE(download(client, tableUrl(*m_https), body).value_or(QString()), error);
    if (error.isEmpty())
        QCOMPARE(body.data(), text);
    else
        QCOMPARE_LE(body.data().size(), AnswerLimit);
}

void TestDownloadClient::refusedConnection()
{
    const int port = closedLoopbackPort();
    DownloadClient client({}, settings());
    QBuffer body;
    body.open(QIODevice::WriteOnly);
    const std::optional<QString> error = download(client, u"http://127.0.0.1:%1/x"_s.arg(port), body);
    QVERIFY(error);
    QVERIFY2(error->startsWith(u"Failed to connect to 127.0.0.1 port %1"_s.arg(port)), qPrintable(*error));
}

void TestDownloadClient::connectTimeOut()
{
    const FullListener listener;
    TransferSettings quick = settings();
    quick.connectTimeout = 1s;
    const QString address = u"http://127.0.0.1:%1/x"_s.arg(listener.port());
    auto attempt = std::async(std::launch::async, [&quick, &address] {
        DownloadClient client({}, quick);
        QBuffer body;
        body.open(QIODevice::WriteOnly);
        return download(client, address, body);
    });
    // Without the time-out libcurl waits for minutes, and its thread cannot be
    // joined: end the process rather than wait for CTest to kill it.
    if (attempt.wait_for(15s) != std::future_status::ready)
        qFatal("TestDownloadClient::connectTimeOut: the connection attempt was still waiting after 15 s.");
    const std::optional<QString> error = attempt.get();
    QVERIFY(error);
    QVERIFY2(error->contains(u"Timeout was reached"_s) || error->contains(u"timed out"_s), qPrintable(*error));
}

void TestDownloadClient::untrustedCertificate()
{
    TransferSettings withoutCa = settings();
    withoutCa.caFile.clear();
    DownloadClient client({}, withoutCa);
    QBuffer body;
    body.open(QIODevice::WriteOnly);
    const std::optional<QString> error = download(client, tableUrl(*m_https), body);
    QVERIFY(error);
    QVERIFY2(error->startsWith(u"SSL certificate problem"_s), qPrintable(*error));
    QVERIFY(body.data().isEmpty());
}

void TestDownloadClient::certificateForAnotherHost()
{
    // Trusted, but its only name is not the one the address asks for.
    const SelfSignedCertificate otherHost(u"rates.example.invalid"_s);
    const FakeOtpServer server(otherHost);
    TransferSettings trusting = settings();
    trusting.caFile = otherHost.certificatePath();
    DownloadClient client({}, trusting);
    QBuffer body;
    body.open(QIODevice::WriteOnly);
    const std::optional<QString> error = download(client, tableUrl(server), body);
    QVERIFY(error);
    QVERIFY2(error->startsWith(u"SSL: no alternative certificate subject name matches target host name '127.0.0.1'"_s),
             qPrintable(*error));
    QVERIFY(body.data().isEmpty());
    QVERIFY(server.requests().isEmpty());
}

void TestDownloadClient::keepsCookiesForTheRun()
{
    m_https->setCookie("session", "abc123");
    {
        DownloadClient client({}, settings());
        for (int i = 0; i < 2; ++i) {
            QBuffer body;
            body.open(QIODevice::WriteOnly);
            QCOMPARE(download(client, tableUrl(*m_https), body).value_or(QString()), QString());
        }
    }
    DownloadClient nextRun({}, settings());
    QBuffer body;
    body.open(QIODevice::WriteOnly);
    QCOMPARE(download(nextRun, tableUrl(*m_https), body).value_or(QString()), QString());

    const QList<FakeOtpRequest> requests = m_https->requests();
    QCOMPARE(requests.size(), 3);
    QVERIFY(requests[0].cookies.isEmpty());
    QCOMPARE(requests[1].cookies, (HeaderList{{"session", "abc123"}}));
    QVERIFY(requests[2].cookies.isEmpty());
}

void TestDownloadClient::proxy_data()
{
    QTest::addColumn<bool>("tls");
    QTest::addColumn<bool>("basic");
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("demand");
    // What each request that reached the proxy carried as Proxy-Authorization.
    QTest::addColumn<QByteArrayList>("authorizations");
    QTest::addColumn<QString>("error");

    const QByteArray good = "Basic " + QByteArray("anna:titok").toBase64();
    const QString refused = u"HTTP/1.1 407 Proxy Authentication Required"_s;
    for (const bool tls : {false, true}) {
        const char *scheme = tls ? "https" : "http";
        QTest::addRow("%s, no authorization", scheme)
            << tls << false << QString() << false << QByteArrayList{""} << QString();
        QTest::addRow("%s, basic sent in advance", scheme)
            << tls << true << u"anna"_s << true << QByteArrayList{good} << QString();
        QTest::addRow("%s, credentials after the challenge", scheme)
            << tls << false << u"anna"_s << true << QByteArrayList{"", good} << QString();
        QTest::addRow("%s, no credentials for a challenge", scheme)
            << tls << false << QString() << true << QByteArrayList{""} << refused;
        QTest::addRow("%s, rejected credentials", scheme)
            << tls << true << u"bela"_s << true << QByteArrayList{"Basic " + QByteArray("bela:titok").toBase64()}
            << refused;
    }
}

void TestDownloadClient::proxy()
{
    QFETCH(bool, tls);
    QFETCH(bool, basic);
    QFETCH(QString, user);
    QFETCH(bool, demand);
    QFETCH(QByteArrayList, authorizations);
    QFETCH(QString, error);

    FakeProxy proxy;
    if (demand)
        proxy.demandAuthorization(u"anna"_s, u"titok"_s);
    ProxySettings proxySettings;
    proxySettings.proxyServer = u"127.0.0.1"_s;
    proxySettings.proxyPort = proxy.port();
    proxySettings.basicAuthentication = basic;
    if (!user.isEmpty()) {
        proxySettings.proxyUsername = user;
        proxySettings.proxyPassword = u"titok"_s;
    }
    const FakeOtpServer &server = tls ? *m_https : *m_http;
    std::optional<QString> result;
    {
        DownloadClient client(proxySettings, settings());
        QBuffer body;
        body.open(QIODevice::WriteOnly);
        result = download(client, tableUrl(server), body);
        QCOMPARE(body.data().contains("EUR;"), error.isEmpty());
    }
    QCOMPARE(result.value_or(QString()), error);

    const QList<FakeProxyRequest> requests = proxy.requests();
    QByteArrayList sent;
    for (const FakeProxyRequest &request : requests)
        sent.append(request.proxyAuthorization);
    QCOMPARE(sent, authorizations);
    const QByteArray target = tls ? "CONNECT 127.0.0.1:" + QByteArray::number(server.port()) + " HTTP/1.1"
                                  : "GET " + tableUrl(server).toUtf8() + " HTTP/1.1";
    QCOMPARE(requests.last().requestLine, target);
    QCOMPARE(server.requests().size(), error.isEmpty() ? 1 : 0);
}

QTEST_GUILESS_MAIN(TestDownloadClient)
#include "TestDownloadClient.moc"
