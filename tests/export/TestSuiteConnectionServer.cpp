// The suite's database through a server, as a customer's network reaches it.
#include "export/DatabaseError.h"
#include "export/RateRows.h"
#include "export/SuiteConnection.h"
#include "export/SuiteLookups.h"
#include "fakes/SuiteDatabase.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <future>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

const QString ServerFailure =
    u"Hiba történt az adatbázishoz való csatlakozás közben!\r\n\nSzámitógép: %1\r\nAdatbázis:%2\r\n\nHibaüzenet: "_s;
const QString LockedStart = u"Az árfolyamtábla egyik sorát egy másik felhasználó zárolja"_s;
const QDateTime RateTime(QDate(2026, 3, 5), QTime(10, 15));

ConnectionSettings settingsOf(const SuiteDatabase &db)
{
    return {db.serverName(), db.path(), u"SYSDBA"_s, db.password(), 1s};
}

} // namespace

class TestSuiteConnectionServer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void failedConnection_data();
    void failedConnection();
    void connectsThroughTheServer();
    void lockedRow();

private:
    std::optional<TestFirebirdServer> m_server;
    QTemporaryDir m_temp;
};

void TestSuiteConnectionServer::initTestCase()
{
    m_server = TestFirebirdServer::fromEnvironment();
    if (!m_server)
        QSKIP("No test server: CTest starts one (ARFOLYAM_TEST_SERVER_DIR).");
    QVERIFY(m_temp.isValid());
}

void TestSuiteConnectionServer::failedConnection_data()
{
    QTest::addColumn<bool>("wrongPassword");
    QTest::addColumn<QString>("firebirdSays");

    QTest::newRow("wrong password") << true << u"Your user name and password are not defined"_s;
    QTest::newRow("missing file") << false << u"No such file or directory"_s;
}

// The server's form of the message, with the server's own words after it.
void TestSuiteConnectionServer::failedConnection()
{
    QFETCH(bool, wrongPassword);
    QFETCH(QString, firebirdSays);

    const SuiteDatabase db(m_server);
    ConnectionSettings settings = settingsOf(db);
    if (wrongPassword)
        settings.password += u"x"_s;
    else
        settings.database = m_temp.filePath(u"missing.fdb"_s);
    const QString start = ServerFailure.arg(settings.server, settings.database);
    try {
        SuiteConnection connection(settings);
        QFAIL("connected");
    } catch (const DatabaseError &e) {
        QCOMPARE(e.message().left(start.size()), start);
        QVERIFY2(e.message().mid(start.size()).contains(firebirdSays), qPrintable(e.message()));
    }
}

void TestSuiteConnectionServer::connectsThroughTheServer()
{
    const SuiteDatabase db(m_server);
    const QString name = u"Országos Őrző Űrbank – 100 €"_s;
    {
        SuiteConnection connection(settingsOf(db));
        const QList<QVariantList> rows = connection.rows(
            connection.statement(u"SELECT MON$REMOTE_PROTOCOL, MON$ATTACHMENT_NAME FROM MON$ATTACHMENTS "
                                 "WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION"_s));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0][0].toString(), u"TCPv4"_s);
        QCOMPARE(rows[0][1].toString(), db.path());

        connection.begin();
        ensureBank(connection, u"ŐRZŐ"_s, name);
        RateRows(connection).writeRateRow(RateTime, u"ŐRZŐ"_s, u"EUR"_s, 395.5, 375.25, 385.1);
        connection.commit();
        QCOMPARE(bankCodeItems(connection), QStringList{u"ŐRZŐ  - "_s + name});
    }
    QCOMPARE(db.rows(u"SELECT KOD, NEV FROM VHELY"_s), (QList<QStringList>{{u"ŐRZŐ"_s, name}}));
    QCOMPARE(db.rows(u"SELECT DAT, BANK, ELAD FROM ARFOLYAM"_s),
             (QList<QStringList>{{u"2026-03-05 10:15:00.000"_s, u"ŐRZŐ"_s, u"395.5"_s}}));
}

// Another user holds the row through the server: ours gives up after the
// lock time-out with the accountant's words, and the connection goes on.
void TestSuiteConnectionServer::lockedRow()
{
    const SuiteDatabase db(m_server);
    db.execute({u"INSERT INTO ARFOLYAM (DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP) "
                "VALUES ('2026-03-05 10:15:00', 'OTP', 'EUR', 'HUF', 390, 380, 385)"_s});
    SuiteConnection otherUser(settingsOf(db));
    otherUser.begin();
    QSqlQuery &update = otherUser.statement(u"UPDATE ARFOLYAM SET ELAD = 391 WHERE DAT = :dat"_s);
    update.bindValue(u":dat"_s, RateTime);
    otherUser.execute(update);

    // On a thread of its own (a Qt connection belongs to the thread that
    // opened it), so that a statement that waits for ever cannot hang the test.
    std::future<QStringList> ours = std::async(std::launch::async, [settings = settingsOf(db)] {
        QStringList seen;
        try {
            SuiteConnection connection(settings);
            connection.begin();
            try {
                RateRows(connection).writeRateRow(RateTime, u"OTP"_s, u"EUR"_s, 392, 382, 387);
                seen << u"written"_s;
            } catch (const DatabaseError &e) {
                seen << e.message();
            }
            connection.rollback();
            seen << connection.rows(connection.statement(u"SELECT ELAD FROM ARFOLYAM"_s)).value(0).value(0).toString();
        } catch (const DatabaseError &e) {
            seen << e.message();
        }
        return seen;
    });
    const bool ended = ours.wait_for(10s) == std::future_status::ready;
    // Lets the row go either way, so that ours ends.
    otherUser.rollback();
    QVERIFY2(ended, "still waiting for the row after 10 s");
    const QStringList seen = ours.get();
    QCOMPARE(seen.size(), 2);
    QVERIFY2(seen[0].startsWith(LockedStart), qPrintable(seen[0]));
    QCOMPARE(seen[1], u"390"_s);
}

QTEST_GUILESS_MAIN(TestSuiteConnectionServer)
#include "TestSuiteConnectionServer.moc"
