#include "FaultHarness.h"
#include "fakes/FakeMnbServer.h"
#include "fakes/FakeOtpServer.h"
#include "fakes/LoopbackPorts.h"
#include "fakes/RecordingView.h"
#include "fakes/SelfSignedCertificate.h"
#include "run/ImportFixture.h"
#include "run/RateAcquisition.h"
#include "run/RateFetch.h"
#include "run/RateSession.h"
#include "sources/BankCatalogue.h"

#include <QTest>

#include <future>

Q_DECLARE_METATYPE(FakeTransfer)

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

const QDate Friday(2026, 9, 18);
const QString Truncated = u"A válasz csonka: a kapcsolat az átvitel vége előtt megszakadt."_s;
const QString Stalled = u"A kiszolgáló 1 másodpercig nem küldött adatot, az átvitel megszakadt."_s;
const QString NothingWritten = u"Az adatbázis nem változott: a lekérdezés nem sikerült.\n"_s;
const QString PageAnalysis = u"Hiba történt az árfolyamokat tartalmazó weboldal elemzése közben."_s;
// Far above the short time-outs below, far below CTest's.
constexpr auto Deadline = 30s;

// Short time-outs, so that a test waits seconds for what takes a minute in a run.
TransferSettings quick()
{
    TransferSettings settings;
    settings.connectTimeout = 1s;
    settings.stallTimeout = 1s;
    return settings;
}

struct Acquisition {
    bool fetched = true;
    QStringList errors;
};

// The current-rate acquisition of one bank against the endpoints, on a
// thread of its own. Past the deadline libcurl's thread cannot be joined:
// the process ends rather than wait for CTest to kill it.
Acquisition acquireWithin(int bank, const QString &mnbUrl, const QString &otpBase, const TransferSettings &transfer)
{
    auto attempt = std::async(std::launch::async, [=] {
        RateSession session({mnbUrl, otpBase, QString()}, ProxySettings{}, transfer);
        NetworkRateFetch fetch(session.httpClient);
        RecordingView view;
        Acquisition acquisition;
        const RunChoices choices = bank == MNBBankIndex ? centralBankChoices() : otpChoices(0);
        acquisition.fetched = acquireCurrentRates(choices, view, session, fetch, Friday);
        acquisition.errors = view.errors;
        return acquisition;
    });
    if (attempt.wait_for(Deadline) != std::future_status::ready)
        qFatal("TestNetworkFaults: an acquisition was still waiting after %d s.", int(Deadline.count()));
    return attempt.get();
}

// The transfer's error; after OTP Bank's download also the analysis of
// the nothing that arrived, as after any failed download.
void checkErrors(int bank, const Acquisition &acquisition, const QStringList &transferErrors)
{
    QCOMPARE(acquisition.errors.size(), bank == OTPBankIndex ? 2 : 1);
    const QString &first = acquisition.errors[0];
    QVERIFY2(std::any_of(transferErrors.begin(), transferErrors.end(),
                         [&](const QString &error) { return first.contains(error); }),
             qPrintable(first));
    if (bank == OTPBankIndex)
        QVERIFY2(acquisition.errors[1].startsWith(PageAnalysis), qPrintable(acquisition.errors[1]));
}

} // namespace

// The network failing under a run: an answer cut off in the middle, a
// server that says nothing, one that never takes the connection.
class TestNetworkFaults : public QObject {
    Q_OBJECT

private slots:
    void cutOffAnswerWritesNothing_data();
    void cutOffAnswerWritesNothing();
    void silentServer_data();
    void silentServer();
    void connectionNeverTaken_data();
    void connectionNeverTaken();
};

void TestNetworkFaults::cutOffAnswerWritesNothing_data()
{
    QTest::addColumn<QStringList>("switches");
    QTest::addColumn<FakeTransfer>("transfer");
    const QStringList history{u"/history"_s, u"/from2026.09.01"_s, u"/to2026.09.18"_s, u"/currEUR,USD"_s};
    QTest::newRow("central bank's SOAP answer") << QStringList{u"/bMNB"_s} << FakeTransfer::CutOff;
    QTest::newRow("central bank's SOAP answer, chunked") << QStringList{u"/bMNB"_s} << FakeTransfer::CutOffChunked;
    QTest::newRow("central bank's history") << history << FakeTransfer::CutOff;
    QTest::newRow("central bank's history, chunked") << history << FakeTransfer::CutOffChunked;
    QTest::newRow("OTP Bank's table") << QStringList{u"/bOTP"_s} << FakeTransfer::CutOff;
    QTest::newRow("OTP Bank's table, chunked") << QStringList{u"/bOTP"_s} << FakeTransfer::CutOffChunked;
}

void TestNetworkFaults::cutOffAnswerWritesNothing()
{
    QFETCH(QStringList, switches);
    QFETCH(FakeTransfer, transfer);
    const SelfSignedCertificate certificate;
    FakeBanks banks(certificate);
    banks.mnb.setCurrentDay(Friday);
    banks.mnb.answerNext(FakeReply::withTransfer(transfer));
    FakeReply table = FakeReply::withBody(otpFixtureTable(QDate::currentDate()));
    table.transfer = transfer;
    banks.otp.answerNext(table);
    const SuiteDatabase db;
    const QStringList setUp{u"INSERT INTO VHELY (KOD, NEV) VALUES ('MNB', 'Magyar Nemzeti Bank')"_s,
                            u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('EUR', 'euró', 2)"_s,
                            u"INSERT INTO CNFKOZOS (KONYVDEV) VALUES ('HUF')"_s};
    db.execute(setUp);

    const CliRun run = runRunner(
        switches + QStringList{u"/d"_s + db.path(), u"/createcurrency"_s, u"/reversed"_s, banks.settingsSwitch()});
    QVERIFY2(run.err.contains(Truncated), qPrintable(run.err));
    QVERIFY2(run.out.endsWith(NothingWritten), qPrintable(run.out));
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(db.rows(u"SELECT COUNT(*) FROM ARFOLYAM"_s), (QList<QStringList>{{u"0"_s}}));
    QCOMPARE(db.rows(u"SELECT KOD FROM DEVIZA"_s), (QList<QStringList>{{u"EUR"_s}}));
    QCOMPARE(db.rows(u"SELECT KOD FROM VHELY"_s), (QList<QStringList>{{u"MNB"_s}}));
}

void TestNetworkFaults::silentServer_data()
{
    QTest::addColumn<int>("bank");
    QTest::addColumn<bool>("headersFirst");
    QTest::newRow("central bank, headers then nothing") << MNBBankIndex << true;
    QTest::newRow("central bank, nothing at all") << MNBBankIndex << false;
    QTest::newRow("OTP Bank, headers then nothing") << OTPBankIndex << true;
    QTest::newRow("OTP Bank, nothing at all") << OTPBankIndex << false;
}

void TestNetworkFaults::silentServer()
{
    QFETCH(int, bank);
    QFETCH(bool, headersFirst);
    FakeMnbServer mnb;
    FakeOtpServer otp;
    const SilentListener silent;
    const QString silentOrigin = u"http://127.0.0.1:%1"_s.arg(silent.port());
    QString mnbUrl = mnb.url();
    QString otpBase = otp.origin();
    if (headersFirst) {
        mnb.answerNext(FakeReply::withTransfer(FakeTransfer::Stall));
        otp.answerNext(FakeReply::withTransfer(FakeTransfer::Stall));
    } else if (bank == MNBBankIndex) {
        mnbUrl = silentOrigin + u"/arfolyamok.asmx"_s;
    } else {
        otpBase = silentOrigin;
    }

    const Acquisition acquisition = acquireWithin(bank, mnbUrl, otpBase, quick());
    QVERIFY(!acquisition.fetched);
    checkErrors(bank, acquisition, {Stalled});
}

void TestNetworkFaults::connectionNeverTaken_data()
{
    QTest::addColumn<int>("bank");
    QTest::newRow("central bank") << MNBBankIndex;
    QTest::newRow("OTP Bank") << OTPBankIndex;
}

void TestNetworkFaults::connectionNeverTaken()
{
    QFETCH(int, bank);
    const FullListener full;
    const QString origin = u"http://127.0.0.1:%1"_s.arg(full.port());
    const Acquisition acquisition = acquireWithin(bank, origin + u"/arfolyamok.asmx"_s, origin, quick());
    QVERIFY(!acquisition.fetched);
    checkErrors(bank, acquisition, {u"Timeout was reached"_s, u"timed out"_s});
}

QTEST_GUILESS_MAIN(TestNetworkFaults)
#include "TestNetworkFaults.moc"
