#include "FaultHarness.h"
#include "fakes/SelfSignedCertificate.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDate Friday(2026, 9, 18);
const QString Day = u"2026-09-18 00:00:00.000"_s;
const QStringList Codes = {u"EUR"_s, u"USD"_s, u"JPY"_s, u"GBP"_s, u"CHF"_s};
const QString LockedStart = u"Az árfolyamtábla egyik sorát egy másik felhasználó zárolja"_s;

QString exact(double value)
{
    return QString::number(value, 'g', 17);
}

// What either runner writes: each currency's rate row and its reversed row.
QList<QStringList> importedRows()
{
    QList<QStringList> rows;
    for (const QString &code : Codes) {
        const double rate = FakeMnbServer::rate(code, Friday) / FakeMnbServer::unit(code);
        rows << QStringList{Day, u"MNB"_s, code, u"HUF"_s, exact(rate), exact(rate), exact(rate)};
        rows << QStringList{Day, u"MNB"_s, u"HUF"_s, code, exact(1 / rate), exact(1 / rate), exact(1 / rate)};
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

QList<QStringList> sortedRows(const SuiteDatabase &db)
{
    QList<QStringList> rows = db.rows(u"SELECT DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP FROM ARFOLYAM"_s);
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Waits until the number of other attachments' statements that run and
// begin with the text reaches count: the runners wait for the held row.
bool waitForWaiting(const SuiteDatabase &db, const QString &statementStart, int count)
{
    const QString select = u"SELECT COUNT(*) FROM MON$STATEMENTS WHERE MON$STATE = 1 AND MON$ATTACHMENT_ID <> "
                           "CURRENT_CONNECTION AND MON$SQL_TEXT STARTING WITH '%1'"_s.arg(statementStart);
    // Well inside the runners' lock time-out of 30 s.
    return QTest::qWaitFor([&] { return db.rows(select).value(0).value(0).toInt() >= count; }, 20000);
}

} // namespace

// Two runners importing the same day into one database on the shared test
// server at once, made to meet: both wait for a row that "the suite" holds,
// and go on together when it lets go.
class TestConcurrentImports : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void twoRunnersOneDay_data();
    void twoRunnersOneDay();

private:
    std::optional<TestFirebirdServer> m_server;
    std::unique_ptr<SelfSignedCertificate> m_certificate;
};

void TestConcurrentImports::initTestCase()
{
    m_server = TestFirebirdServer::fromEnvironment();
    if (!m_server)
        QSKIP("No test server: run through CTest.");
    m_certificate = std::make_unique<SelfSignedCertificate>();
}

void TestConcurrentImports::twoRunnersOneDay_data()
{
    QTest::addColumn<QString>("held");
    QTest::addColumn<QString>("waitingStatement");
    // A rate the suite's user is changing: the runners' DELETE waits for it.
    QTest::newRow("a row being changed") << u"UPDATE ARFOLYAM SET KOZEP = 7 WHERE DKOD = 'EUR'"_s
                                         << u"DELETE FROM ARFOLYAM"_s;
    // A rate the suite's user is adding: the runners' INSERT waits for its key.
    QTest::newRow("a row being added")
        << u"INSERT INTO ARFOLYAM (DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP) VALUES ('2026-09-18', 'MNB', 'EUR', "
           "'HUF', 7, 7, 7)"_s
        << u"INSERT INTO ARFOLYAM"_s;
}

void TestConcurrentImports::twoRunnersOneDay()
{
    QFETCH(QString, held);
    QFETCH(QString, waitingStatement);
    FakeBanks banks(*m_certificate);
    banks.mnb.setCurrentDay(Friday);
    const SuiteDatabase db(m_server);
    // EUR first: both runners write it first and so wait before writing anything.
    QStringList setUp{u"INSERT INTO VHELY (KOD, NEV) VALUES ('MNB', 'Magyar Nemzeti Bank')"_s};
    for (const QString &code : Codes)
        setUp << u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('%1', '%1', 2)"_s.arg(code);
    setUp << u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('HUF', 'forint', 2)"_s
          << u"INSERT INTO CNFKOZOS (KONYVDEV) VALUES ('HUF')"_s;
    if (held.startsWith(u"UPDATE"_s)) {
        setUp << u"INSERT INTO ARFOLYAM (DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP) VALUES ('2026-09-18', 'MNB', "
                 "'EUR', 'HUF', 1, 1, 1)"_s;
    }
    setUp << u"INSERT INTO ARFOLYAM (DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP) VALUES ('2026-09-18', 'MNB', 'GBP', "
             "'HUF', 1, 1, 1)"_s;
    db.execute(setUp);

    const QStringList arguments{u"/d"_s + db.path(), u"/server"_s + db.serverName(), u"/p"_s + db.password(),
                                u"/reversed"_s, banks.settingsSwitch()};
    CliRun runs[2];
    {
        SuiteUser suite(db.path(), m_server);
        suite.hold(held);
        StartedRunner first = startRunner(arguments);
        StartedRunner second = startRunner(arguments);
        const bool bothWaiting = waitForWaiting(db, waitingStatement, 2);
        suite.release();
        runs[0] = finishRunner(*first.process);
        runs[1] = finishRunner(*second.process);
        QVERIFY2(bothWaiting, "the runners did not both wait for the held row");
    }

    // Each ends clearly: written, or stopped by the other's rows in the
    // accountant's words; never both stopped.
    int succeeded = 0;
    for (const CliRun &run : runs) {
        if (run.exitCode == 0) {
            ++succeeded;
            QCOMPARE(run.err, QString());
        } else {
            QCOMPARE(run.exitCode, 1);
            QVERIFY2(run.err.startsWith(u"[Hibaüzenet sorszáma: 1]\n"_s + LockedStart), qPrintable(run.err));
        }
    }
    QVERIFY(succeeded >= 1);
    // Every key once, with the day's rates.
    QCOMPARE(sortedRows(db), importedRows());
}

QTEST_GUILESS_MAIN(TestConcurrentImports)
#include "TestConcurrentImports.moc"
