#include "fakes/RecordingView.h"
#include "fakes/SuiteDatabase.h"
#include "run/ImportFixture.h"
#include "run/RateImport.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDate Tuesday(2024, 1, 2);
const QDate Wednesday(2024, 1, 3);

QStringList sameRates(const QDate &day, const QString &code, const QString &priced, double rate)
{
    return rateRow(stamp(day), u"MNB"_s, code, priced, rate, rate, rate);
}

} // namespace

// Both writers through a server, as a customer's network runs them.
class TestImportServer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void currentRates();
    void history();
    void wrongPassword();

private:
    std::optional<TestFirebirdServer> m_server;
};

void TestImportServer::initTestCase()
{
    m_server = TestFirebirdServer::fromEnvironment();
    if (!m_server)
        QSKIP("No test server: CTest starts one (ARFOLYAM_TEST_SERVER_DIR).");
}

void TestImportServer::currentRates()
{
    const SuiteDatabase db(m_server);
    db.execute({u"INSERT INTO CNFKOZOS (KONYVDEV) VALUES ('EUR')"_s});
    FilledSession source;
    source.centralBank(u"EUR"_s, Tuesday, 400).centralBank(u"USD"_s, Tuesday, 380);
    RunChoices choices = centralBankChoices({{u"EUR"_s, true}, {u"USD"_s, true}});
    choices.createCrossRates = true;

    RecordingView view;
    const ImportResult result = writeCurrentRates(choices, view, source.session(), settingsOf(db));
    QVERIFY2(result.succeeded, qPrintable(view.errors.join(u'\n')));
    QCOMPARE(rateRows(db),
             sorted({sameRates(Tuesday, u"EUR"_s, u"HUF"_s, 400), sameRates(Tuesday, u"USD"_s, u"HUF"_s, 380),
                     sameRates(Tuesday, u"USD"_s, u"EUR"_s, 380.0 / 400)}));
    QCOMPARE(db.rows(u"SELECT KOD, NEV FROM VHELY"_s), (QList<QStringList>{{u"MNB"_s, u"Magyar Nemzeti Bank"_s}}));
}

void TestImportServer::history()
{
    const SuiteDatabase db(m_server);
    FilledSession source;
    source.centralBank(u"EUR"_s, Wednesday, 410).centralBank(u"EUR"_s, Tuesday, 400);
    RunChoices choices = centralBankChoices();
    choices.history = true;
    choices.createReversedRates = true;

    RecordingView view;
    const ImportResult result = writeHistoricalRates(choices, view, source.session(), settingsOf(db));
    QVERIFY2(result.succeeded, qPrintable(view.errors.join(u'\n')));
    QCOMPARE(
        rateRows(db),
        sorted({sameRates(Tuesday, u"EUR"_s, u"HUF"_s, 400), sameRates(Tuesday, u"HUF"_s, u"EUR"_s, 1.0 / 400),
                sameRates(Wednesday, u"EUR"_s, u"HUF"_s, 410), sameRates(Wednesday, u"HUF"_s, u"EUR"_s, 1.0 / 410)}));
}

// The server form of the message, and nothing written.
void TestImportServer::wrongPassword()
{
    const SuiteDatabase db(m_server);
    ConnectionSettings settings = settingsOf(db);
    settings.password += u"-wrong"_s;
    FilledSession source;
    source.centralBank(u"EUR"_s, Tuesday, 400);

    RecordingView view;
    const ImportResult result =
        writeCurrentRates(centralBankChoices({{u"EUR"_s, true}}), view, source.session(), settings);
    QVERIFY(!result.succeeded);
    QCOMPARE(view.errors.size(), 1);
    QVERIFY2(view.errors[0].startsWith(u"Hiba történt az adatbázishoz való csatlakozás közben!\r\n\nSzámitógép: "_s
                                       + db.serverName() + u"\r\nAdatbázis:"_s + db.path() + u"\r\n\nHibaüzenet: "_s),
             qPrintable(view.errors[0]));
    QCOMPARE(view.calls,
             (QStringList{u"active 1"_s, u"error "_s + view.errors[0], u"error page"_s, u"done 1"_s, u"active 2"_s}));
    QVERIFY(db.rows(u"SELECT * FROM VHELY"_s).isEmpty());
}

QTEST_GUILESS_MAIN(TestImportServer)
#include "TestImportServer.moc"
