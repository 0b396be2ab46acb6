#include "fakes/FakeMnbServer.h"
#include "fakes/FakeOtpServer.h"
#include "fakes/LoopbackPorts.h"
#include "fakes/RecordingView.h"
#include "fakes/SelfSignedCertificate.h"
#include "run/RateAcquisition.h"
#include "run/RateFetch.h"
#include "run/RateSession.h"
#include "run/RunChoices.h"
#include "sources/BankCatalogue.h"
#include "startup/Formats.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(FakeReply)

namespace {
const QString CentralBankMessage =
    u"Hiba történt az árfolyamokat tartalmazó webservice elérése közben. Kérem, vegye fel a kapcsolatot a forgalmazó Belmora Kft.-vel!\r\n\r\n"_s;
const QString PageAnalysisMessage =
    u"Hiba történt az árfolyamokat tartalmazó weboldal elemzése közben. Előfordulhat, hogy megváltozott vagy hibás a weboldal. Kérem ellenőrizze a weboldal tartalmát a böngészőjén keresztül\r\n\r\n"_s;
const QString NoUsableRateMessage =
    u"A kiválasztott bank honlapján (még) nem elérhetőek a napi árfolyamok. Kérjük próbálja újra később!"_s;

const QStringList AllSteps = {u"active 1"_s, u"done 1"_s,   u"active 2"_s, u"done 2"_s,   u"active 3"_s,
                              u"done 3"_s,   u"active 4"_s, u"done 4"_s,   u"active 5"_s, u"done 5"_s};

QStringList stepsOf(const RecordingView &view)
{
    QStringList steps;
    for (const QString &call : view.calls) {
        if (call.startsWith(u"active"_s) || call.startsWith(u"done"_s))
            steps << call;
    }
    return steps;
}

RunChoices choicesFor(int bank, int rateType = 0, bool onlyMiddle = false)
{
    RunChoices c;
    c.bankIndex = bank;
    c.rateTypeIndex = rateType;
    c.onlyMiddleRate = bank == MNBBankIndex || onlyMiddle;
    return c;
}

QByteArray otpTable(const QString &rows)
{
    return (u"Árfolyamok 2026.09.18\r\n"_s + FakeOtpServer::HeaderLine + u"\r\n"_s + rows).toUtf8();
}
} // namespace

class TestCurrentRateAcquisition : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void centralBankRates();
    void centralBankFailures_data();
    void centralBankFailures();
    void centralBankUnreachable();
    void otpRates();
    void otpTableOfAnotherDay();
    void otpFailures_data();
    void otpFailures();
    void otpUnreachable();
    void usableRateDependsOnRateType_data();
    void usableRateDependsOnRateType();

private:
    std::unique_ptr<RateSession> session(const QString &mnbUrl, const QString &otpBaseUrl) const;
    bool acquire(const RunChoices &choices, RunView &view, RateSession &session) const;

    QTemporaryDir m_temp;
    std::unique_ptr<SelfSignedCertificate> m_certificate;
    std::unique_ptr<FakeMnbServer> m_mnb;
    std::unique_ptr<FakeOtpServer> m_otp;
    const QDate m_today{2026, 9, 18};
};

void TestCurrentRateAcquisition::initTestCase()
{
    QVERIFY(m_temp.isValid());
    for (const char *name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
        qunsetenv(name);
    m_certificate = std::make_unique<SelfSignedCertificate>();
}

void TestCurrentRateAcquisition::init()
{
    qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
    m_mnb = std::make_unique<FakeMnbServer>();
    m_mnb->setCurrentDay(m_today);
    m_otp = std::make_unique<FakeOtpServer>(*m_certificate);
}

std::unique_ptr<RateSession> TestCurrentRateAcquisition::session(const QString &mnbUrl, const QString &otpBaseUrl) const
{
    SourceSettings sources;
    sources.mnbServiceUrl = mnbUrl;
    sources.otpBaseUrl = otpBaseUrl;
    sources.caFile = m_certificate->certificatePath();
    return std::make_unique<RateSession>(sources, ProxySettings{}, TransferSettings{sources.caFile, 5s, 1s});
}

bool TestCurrentRateAcquisition::acquire(const RunChoices &choices, RunView &view, RateSession &s) const
{
    NetworkRateFetch fetch(s.httpClient);
    return acquireCurrentRates(choices, view, s, fetch, m_today);
}

void TestCurrentRateAcquisition::centralBankRates()
{
    auto s = session(m_mnb->url(), m_otp->origin());
    RecordingView view;
    QVERIFY(acquire(choicesFor(MNBBankIndex), view, *s));
    QCOMPARE(stepsOf(view), AllSteps);
    QVERIFY(view.errors.isEmpty() && view.warnings.isEmpty());
    // The central bank's path leaves the rate-date caption alone.
    QVERIFY(!view.calls.join(u'|').contains(u"caption"_s));
    QVERIFY(s->currencyObjectList);
    QCOMPARE(s->currencyObjectList->listCount(), 32);
    QCOMPARE(view.rateLists.size(), 1);
    QCOMPARE(view.rateLists[0].rows.size(), 32);
    QCOMPARE(view.rateLists[0].columns.size(), 3);
    QCOMPARE(view.calls.indexOf(u"rate list 32"_s), view.calls.indexOf(u"active 4"_s) + 1);
    QCOMPARE(m_mnb->calls().size(), 1);
    QCOMPARE(m_mnb->calls()[0].operation, u"GetCurrentExchangeRates"_s);
    QVERIFY(m_otp->requests().isEmpty());
}

void TestCurrentRateAcquisition::centralBankFailures_data()
{
    QTest::addColumn<FakeReply>("reply");
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("warning");
    QTest::addColumn<bool>("allSteps");

    const auto result = [](const QString &text) {
        return FakeReply::withBody(FakeMnbServer::envelope(u"GetCurrentExchangeRates"_s, text));
    };
    QTest::newRow("no rate") << result(u"<MNBCurrentExchangeRates />"_s) << CentralBankMessage << false << true;
    QTest::newRow("every rate 0") << result(
        u"<MNBCurrentExchangeRates><Day date=\"2026-09-18\"><Rate unit=\"1\" curr=\"EUR\">0</Rate><Rate "
        "unit=\"1\" curr=\"USD\">363.47</Rate></Day></MNBCurrentExchangeRates>"_s)
                                  << NoUsableRateMessage << true << true;
    QTest::newRow("fault") << FakeReply::withStatus(500, FakeMnbServer::fault(u"Belső hiba."_s)) << u"Belső hiba."_s
                           << false << false;
    QTest::newRow("result not XML") << result(u"Szolgáltatás nem elérhető"_s) << u"nem olvasható XML"_s << false
                                    << false;
    QTest::newRow("500 without fault") << FakeReply::withStatus(500, "oops") << u"HTTP/1.1 500"_s << false << false;
    QTest::newRow("cut off") << FakeReply::withTransfer(FakeTransfer::CutOff) << u"csonka"_s << false << false;
    QTest::newRow("stall") << FakeReply::withTransfer(FakeTransfer::Stall) << u"nem küldött adatot"_s << false << false;
}

void TestCurrentRateAcquisition::centralBankFailures()
{
    QFETCH(FakeReply, reply);
    QFETCH(QString, error);
    QFETCH(bool, warning);
    QFETCH(bool, allSteps);
    m_mnb->answerNext(reply);
    auto s = session(m_mnb->url(), m_otp->origin());
    RecordingView view;
    QVERIFY(!acquire(choicesFor(MNBBankIndex), view, *s));
    QCOMPARE(view.errors.size(), 1);
    QVERIFY2(view.errors[0].contains(error), qPrintable(view.errors[0]));
    QVERIFY(view.errorPageShown());
    QCOMPARE(view.warnings, warning ? QStringList{NoUsableRateMessage} : QStringList{});
    // A raised error stops the run with step 2 still under way.
    QCOMPARE(stepsOf(view), allSteps ? AllSteps : AllSteps.mid(0, 3));
    QCOMPARE(view.rateLists.size(), allSteps ? 1 : 0);
}

void TestCurrentRateAcquisition::centralBankUnreachable()
{
    auto s = session(u"http://127.0.0.1:%1/arfolyamok.asmx"_s.arg(closedLoopbackPort()), m_otp->origin());
    RecordingView view;
    QVERIFY(!acquire(choicesFor(MNBBankIndex), view, *s));
    QCOMPARE(view.errors.size(), 1);
    QVERIFY2(view.errors[0].startsWith(u"Az MNB árfolyam-szolgáltatása nem érhető el"_s), qPrintable(view.errors[0]));
    QCOMPARE(stepsOf(view), AllSteps.mid(0, 3));
}

void TestCurrentRateAcquisition::otpRates()
{
    auto s = session(m_mnb->url(), m_otp->origin());
    RecordingView view;
    QVERIFY(acquire(choicesFor(OTPBankIndex, 1), view, *s));
    QCOMPARE(stepsOf(view), AllSteps);
    QVERIFY(view.errors.isEmpty());
    QVERIFY(s->currencyRatesCurrent);
    const DateTime published = DateTime::fromDateTime(QDateTime(m_today, QTime(5, 56)));
    QVERIFY(view.calls.contains(u"caption "_s + formatRateDateCaption(published)));
    QVERIFY(!s->currencyList.isEmpty());
    QCOMPARE(s->currencyList[0].dateTime, published);
    QCOMPARE(view.rateLists[0].rows.size(), s->currencyList.size());
    QCOMPARE(view.rateLists[0].columns.size(), 5);

    const auto requests = m_otp->requests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(QString::fromUtf8(requests[0].request.target), buildOTPRateAddress(QString(), m_today));
    QCOMPARE(requests[0].request.tlsVersion, QByteArray("TLSv1.2"));
    QVERIFY(m_mnb->calls().isEmpty());
}

void TestCurrentRateAcquisition::otpTableOfAnotherDay()
{
    m_otp->answerNext(
        FakeReply::withBody(m_otp->table(m_today.addDays(-1), FakeOtpServer::DefaultCurrencies).toUtf8()));
    auto s = session(m_mnb->url(), m_otp->origin());
    RecordingView view;
    QVERIFY(acquire(choicesFor(OTPBankIndex), view, *s));
    QVERIFY(!s->currencyRatesCurrent);
    QVERIFY(!view.calls.join(u'|').contains(u"caption"_s));
    QVERIFY(!s->currencyList.isEmpty());
    QVERIFY(s->currencyList[0].dateTime.isZero());
}

void TestCurrentRateAcquisition::otpFailures_data()
{
    QTest::addColumn<FakeReply>("reply");
    QTest::addColumn<QString>("firstError");

    const QByteArray table =
        otpTable(u"EUR;2026.09.18 05:56;1;363,52;353,41;373,63;356,78;370,26;359,92;367,12;1\r\n"_s);
    QStringEncoder toWindows1250("windows-1250");
    QTest::newRow("empty answer") << FakeReply::withBody({}) << QString();
    QTest::newRow("Windows-1250 bytes") << FakeReply::withBody(toWindows1250.encode(QString::fromUtf8(table)))
                                        << QString();
    QTest::newRow("404") << FakeReply::withStatus(404, "Not Found") << u"Hibaüzenet: HTTP/1.1 404 Not Found"_s;
    QTest::newRow("500") << FakeReply::withStatus(500) << u"Hibaüzenet: HTTP/1.1 500"_s;
    QTest::newRow("cut off") << [&] {
        FakeReply r = FakeReply::withBody(table);
        r.transfer = FakeTransfer::CutOff;
        return r;
    }() << u"csonka"_s;
}

void TestCurrentRateAcquisition::otpFailures()
{
    QFETCH(FakeReply, reply);
    QFETCH(QString, firstError);
    m_otp->answerNext(reply);
    auto s = session(m_mnb->url(), m_otp->origin());
    RecordingView view;
    QVERIFY(!acquire(choicesFor(OTPBankIndex), view, *s));
    // A failed download is reported, and the analysis of what it left follows.
    const QString analysis = PageAnalysisMessage + m_otp->origin() + u"/portal/hu/Arfolyamok/OTP"_s;
    if (firstError.isEmpty()) {
        QCOMPARE(view.errors, QStringList{analysis});
    } else {
        QCOMPARE(view.errors.size(), 2);
        QVERIFY2(view.errors[0].startsWith(u"Hiba történt a weboldal megnyitása közben:\r\n\r\n"_s),
                 qPrintable(view.errors[0]));
        QVERIFY2(view.errors[0].contains(firstError), qPrintable(view.errors[0]));
        QCOMPARE(view.errors[1], analysis);
    }
    QVERIFY(s->currencyList.isEmpty());
    QCOMPARE(stepsOf(view), AllSteps);
    QCOMPARE(view.rateLists.size(), 1);
    QVERIFY(view.rateLists[0].rows.isEmpty());
}

void TestCurrentRateAcquisition::otpUnreachable()
{
    auto s = session(m_mnb->url(), u"https://127.0.0.1:%1"_s.arg(closedLoopbackPort()));
    RecordingView view;
    QVERIFY(!acquire(choicesFor(OTPBankIndex), view, *s));
    QCOMPARE(view.errors.size(), 2);
    QVERIFY(view.errors[0].startsWith(u"Hiba történt a weboldal megnyitása közben:"_s));
    QVERIFY(view.errors[1].startsWith(PageAnalysisMessage));
    QCOMPARE(stepsOf(view), AllSteps);
}

void TestCurrentRateAcquisition::usableRateDependsOnRateType_data()
{
    QTest::addColumn<int>("rateType");
    QTest::addColumn<bool>("onlyMiddle");
    QTest::addColumn<QString>("middle");
    QTest::addColumn<bool>("usable");
    // Transfer buying rates are 0 everywhere; cash and cheque rates are set.
    QTest::newRow("Deviza") << 0 << false << u"363,52"_s << false;
    QTest::newRow("Valuta") << 1 << false << u"363,52"_s << true;
    QTest::newRow("Csekk") << 2 << false << u"363,52"_s << true;
    QTest::newRow("middle only decides") << 0 << true << u"363,52"_s << true;
    QTest::newRow("middle only, middle 0") << 1 << true << u"0"_s << false;
}

void TestCurrentRateAcquisition::usableRateDependsOnRateType()
{
    QFETCH(int, rateType);
    QFETCH(bool, onlyMiddle);
    QFETCH(QString, middle);
    QFETCH(bool, usable);
    m_otp->answerNext(FakeReply::withBody(
        otpTable(u"EUR;2026.09.18 05:56;1;%1;353,41;373,63;356,78;370,26;0;367,12;1\r\n"_s
                 u"USD;2026.09.18 05:56;1;%1;307,14;325,82;310,05;322,91;0;319,65;1\r\n"_s.arg(middle))));
    auto s = session(m_mnb->url(), m_otp->origin());
    RecordingView view;
    QCOMPARE(acquire(choicesFor(OTPBankIndex, rateType, onlyMiddle), view, *s), usable);
    QCOMPARE(view.warnings, usable ? QStringList{} : QStringList{NoUsableRateMessage});
    QCOMPARE(view.errors, usable ? QStringList{} : QStringList{NoUsableRateMessage});
    QCOMPARE(s->currencyList.size(), 2);
}

QTEST_GUILESS_MAIN(TestCurrentRateAcquisition)
#include "TestCurrentRateAcquisition.moc"
