#include "export/DatabaseError.h"
#include "export/RateRows.h"
#include "export/SuiteConnection.h"
#include "fakes/LoopbackPorts.h"
#include "fakes/SuiteDatabase.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <future>
#include <thread>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

const QString LocalFailure = u"Hiba történt az adatbázishoz való csatlakozás közben!\r\n\r\nSzámitógép: Sajátgép\r\n"
                             "Adatbázis: %1\r\n\r\nHibaüzenet: "_s;
const QString ServerFailure =
    u"Hiba történt az adatbázishoz való csatlakozás közben!\r\n\nSzámitógép: %1\r\nAdatbázis:%2\r\n\nHibaüzenet: "_s;
const QString LockedStart = u"Az árfolyamtábla egyik sorát egy másik felhasználó zárolja"_s;

const QDateTime RateTime(QDate(2026, 3, 5), QTime(10, 15));
const QString RateRow = u"INSERT INTO ARFOLYAM (DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP) "
                        "VALUES ('2026-03-05 10:15:00', 'MNB', 'EUR', 'HUF', 390, 380, 385)"_s;
const QString KeyCondition = u" WHERE DAT = :dat AND BANK = 'MNB' AND DKOD = 'EUR' AND DKKOD = 'HUF'"_s;

ConnectionSettings settingsOf(const SuiteDatabase &db)
{
    return {db.serverName(), db.path(), u"SYSDBA"_s, db.password(), 1s};
}

// Runs one statement of the key's row, bound to its timestamp.
void runOnKey(SuiteConnection &connection, const QString &sql)
{
    QSqlQuery &query = connection.statement(sql);
    query.bindValue(u":dat"_s, RateTime);
    connection.execute(query);
}

using Statement = std::function<void(SuiteConnection &)>;

Statement keyStatement(const QString &sql)
{
    return [sql](SuiteConnection &connection) { runOnKey(connection, sql); };
}

// What our side of a conflict saw.
struct Attempt {
    QString error;
    // After the rollback: the rows a SELECT counted, or its error.
    QString afterwards;
};

// Our side on a thread of its own, with a connection of its own (a Qt
// connection belongs to the thread that opened it), so that a statement that
// waits for ever cannot hang the test.
std::future<Attempt> attempt(const ConnectionSettings &settings, const Statement &statement)
{
    return std::async(std::launch::async, [settings, statement] {
        Attempt result;
        try {
            SuiteConnection connection(settings);
            connection.begin();
            try {
                statement(connection);
            } catch (const DatabaseError &e) {
                result.error = e.message();
            }
            connection.rollback();
            result.afterwards =
                connection.rows(connection.statement(u"SELECT COUNT(*) FROM ARFOLYAM"_s)).value(0).value(0).toString();
        } catch (const DatabaseError &e) {
            result.afterwards = e.message();
        }
        return result;
    });
}

// Waits for our side; when it does not end in time, the other user lets the
// row go, so that it must.
bool endsInTime(std::future<Attempt> &ours, SuiteConnection &other)
{
    if (ours.wait_for(10s) == std::future_status::ready)
        return true;
    other.rollback();
    ours.wait();
    return false;
}

// Whether another attachment runs a statement on ARFOLYAM: ours, waiting for
// the row. Each call reads a fresh monitoring snapshot.
bool statementRunsOnRates(const SuiteDatabase &db)
{
    return db.rows(u"SELECT COUNT(*) FROM MON$STATEMENTS WHERE MON$STATE = 1 AND "
                   "MON$ATTACHMENT_ID <> CURRENT_CONNECTION AND MON$SQL_TEXT CONTAINING 'ARFOLYAM'"_s)
               .value(0)
               .value(0)
        != u"0"_s;
}

} // namespace

Q_DECLARE_METATYPE(Statement)

class TestSuiteConnection : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void settingsComeFromTheSwitches();
    void localPathOpensEmbedded();
    void failedConnection_data();
    void failedConnection();
    void transactionsEndAsAsked();
    void openTransactionIsRolledBackOnClose();
    void statementsArePreparedOncePerTransaction();
    void statementPreparedBeforeBeginJoinsTheTransaction();
    void failedStatementGivesTheDatabaseText();
    void lockedRow_data();
    void lockedRow();
    void rowChangedWhileWaiting();

private:
    QTemporaryDir m_temp;
};

void TestSuiteConnection::initTestCase()
{
    QVERIFY(m_temp.isValid());
    QFile text(m_temp.filePath(u"notes.fdb"_s));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(16384, 'x'));
}

void TestSuiteConnection::settingsComeFromTheSwitches()
{
    StartupSettings startup;
    startup.server = u"konyveles"_s;
    startup.database = u"C:\\Belmora\\ceg.fdb"_s;
    startup.userName = u"KONYVELO"_s;
    startup.password = u"titok"_s;
    const ConnectionSettings settings = connectionSettings(startup);
    QCOMPARE(settings.server, startup.server);
    QCOMPARE(settings.database, startup.database);
    QCOMPARE(settings.userName, startup.userName);
    QCOMPARE(settings.password, startup.password);
    // Nobody waits longer for a locked row.
    QCOMPARE(settings.lockTimeout, 30s);
}

void TestSuiteConnection::localPathOpensEmbedded()
{
    const SuiteDatabase db;
    SuiteConnection connection(settingsOf(db));
    const QList<QVariantList> rows =
        connection.rows(connection.statement(u"SELECT MON$REMOTE_PROTOCOL, MON$ATTACHMENT_NAME FROM MON$ATTACHMENTS "
                                             "WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION"_s));
    QCOMPARE(rows.size(), 1);
    QVERIFY(rows[0][0].isNull());
    QCOMPARE(rows[0][1].toString(), db.path());
}

void TestSuiteConnection::failedConnection_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("database");

    QTest::newRow("missing file") << QString() << m_temp.filePath(u"missing.fdb"_s);
    QTest::newRow("folder") << QString() << m_temp.path();
    QTest::newRow("not a database") << QString() << m_temp.filePath(u"notes.fdb"_s);
    QTest::newRow("no server") << u"127.0.0.1/%1"_s.arg(closedLoopbackPort()) << m_temp.filePath(u"missing.fdb"_s);
}

void TestSuiteConnection::failedConnection()
{
    QFETCH(QString, server);
    QFETCH(QString, database);

    const QString start = server.isEmpty() ? LocalFailure.arg(database) : ServerFailure.arg(server, database);
    try {
        SuiteConnection connection({server, database, u"SYSDBA"_s, u"any"_s});
        QFAIL("connected");
    } catch (const DatabaseError &e) {
        QCOMPARE(e.message().left(start.size()), start);
        QVERIFY2(!e.message().mid(start.size()).trimmed().isEmpty(), qPrintable(e.message()));
    }
}

void TestSuiteConnection::transactionsEndAsAsked()
{
    const SuiteDatabase db;
    SuiteConnection connection(settingsOf(db));
    QVERIFY(!connection.inTransaction());
    const auto insert = [&](const QString &code) {
        QSqlQuery &query = connection.statement(u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES (:kod, 'x', 2)"_s);
        query.bindValue(u":kod"_s, code);
        connection.execute(query);
    };

    connection.begin();
    QVERIFY(connection.inTransaction());
    insert(u"EUR"_s);
    // Not visible to anyone else before the commit.
    QVERIFY(db.rows(u"SELECT KOD FROM DEVIZA"_s).isEmpty());
    connection.commit();
    QVERIFY(!connection.inTransaction());
    QCOMPARE(db.rows(u"SELECT KOD FROM DEVIZA"_s), QList<QStringList>{{u"EUR"_s}});

    connection.begin();
    insert(u"USD"_s);
    connection.rollback();
    QVERIFY(!connection.inTransaction());
    QCOMPARE(db.rows(u"SELECT KOD FROM DEVIZA"_s), QList<QStringList>{{u"EUR"_s}});
    // A rollback with nothing open changes nothing.
    connection.rollback();
    QVERIFY(!connection.inTransaction());
}

void TestSuiteConnection::openTransactionIsRolledBackOnClose()
{
    const SuiteDatabase db;
    {
        SuiteConnection connection(settingsOf(db));
        connection.begin();
        QSqlQuery &query =
            connection.statement(u"INSERT INTO VHELY (KOD, NEV) VALUES ('MNB', 'Magyar Nemzeti Bank')"_s);
        connection.execute(query);
        // A cursor left open must not keep the transaction alive either.
        QSqlQuery &select = connection.statement(u"SELECT KOD FROM VHELY"_s);
        connection.execute(select);
        QVERIFY(select.next());
    }
    QVERIFY(db.rows(u"SELECT * FROM VHELY"_s).isEmpty());
    // And the file is free again for another connection.
    SuiteConnection again(settingsOf(db));
    QVERIFY(again.rows(again.statement(u"SELECT * FROM VHELY"_s)).isEmpty());
}

// A history run commits every few hundred rows and goes on with the same
// statement texts.
void TestSuiteConnection::statementsArePreparedOncePerTransaction()
{
    const SuiteDatabase db;
    SuiteConnection connection(settingsOf(db));
    const QString insertText = u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES (:kod, :nev, 2)"_s;
    const QString countText = u"SELECT COUNT(*) FROM DEVIZA"_s;
    // Each code written twice with the same statement of the transaction;
    // gives the rows the transaction sees, or -1 when the text gave another
    // statement the second time.
    const auto write = [&](const QString &first, const QString &second) {
        QSqlQuery &insert = connection.statement(insertText);
        for (const QString &code : {first, second}) {
            QSqlQuery &query = connection.statement(insertText);
            if (&query != &insert)
                return -1;
            query.bindValue(u":kod"_s, code);
            query.bindValue(u":nev"_s, code.toLower());
            connection.execute(query);
        }
        return connection.rows(connection.statement(countText)).value(0).value(0).toInt();
    };
    connection.begin();
    QCOMPARE(write(u"EUR"_s, u"USD"_s), 2);
    QVERIFY(&connection.statement(countText) != &connection.statement(insertText));
    connection.commit();
    for (int batch = 1; batch <= 2; ++batch) {
        connection.begin();
        QCOMPARE(write(u"C%1A"_s.arg(batch), u"C%1B"_s.arg(batch)), 2 + 2 * batch);
        connection.commit();
    }
    connection.begin();
    QCOMPARE(write(u"GBP"_s, u"JPY"_s), 8);
    // The statements belong to the transaction they run in: its rollback
    // takes their rows back.
    connection.rollback();
    QCOMPARE(db.rows(u"SELECT KOD FROM DEVIZA ORDER BY KOD"_s),
             (QList<QStringList>{{u"C1A"_s}, {u"C1B"_s}, {u"C2A"_s}, {u"C2B"_s}, {u"EUR"_s}, {u"USD"_s}}));
}

// Qt's driver ties a statement prepared with no transaction open to a
// transaction of its own: after begin() the same text must be prepared
// again, or a write would commit by itself and a read go on seeing the
// database as it was at its first run.
void TestSuiteConnection::statementPreparedBeforeBeginJoinsTheTransaction()
{
    const SuiteDatabase db;
    SuiteConnection connection(settingsOf(db));
    const QString count = u"SELECT COUNT(*) FROM VHELY"_s;
    const QString insert = u"INSERT INTO VHELY (KOD, NEV) VALUES ('MNB', 'Magyar Nemzeti Bank')"_s;
    QCOMPARE(connection.rows(connection.statement(count)).value(0).value(0).toInt(), 0);
    connection.statement(insert);
    connection.begin();
    connection.execute(connection.statement(insert));
    QCOMPARE(connection.rows(connection.statement(count)).value(0).value(0).toInt(), 1);
    connection.rollback();
    QVERIFY(db.rows(u"SELECT KOD FROM VHELY"_s).isEmpty());
}

// Only a row another user holds gets the accountant's words; any other
// failure keeps the database's own.
void TestSuiteConnection::failedStatementGivesTheDatabaseText()
{
    const SuiteDatabase db;
    db.execute({RateRow});
    SuiteConnection connection(settingsOf(db));
    try {
        connection.statement(u"SELECT * FROM NO_SUCH_TABLE"_s);
        QFAIL("prepared");
    } catch (const DatabaseError &e) {
        QVERIFY2(e.message().contains(u"NO_SUCH_TABLE"_s), qPrintable(e.message()));
    }

    connection.begin();
    try {
        runOnKey(connection,
                 u"INSERT INTO ARFOLYAM (DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP) "
                 "VALUES (:dat, 'MNB', 'EUR', 'HUF', 1, 1, 1)"_s);
        QFAIL("inserted a key twice");
    } catch (const DatabaseError &e) {
        QVERIFY2(e.message().contains(u"ARFOLYAM_KEY"_s), qPrintable(e.message()));
        QVERIFY(!e.message().startsWith(LockedStart));
    }
    connection.rollback();
    QCOMPARE(connection.rows(connection.statement(u"SELECT COUNT(*) FROM ARFOLYAM"_s)).value(0).value(0).toInt(), 1);
}

void TestSuiteConnection::lockedRow_data()
{
    QTest::addColumn<QString>("other");
    QTest::addColumn<Statement>("ours");

    const QString deletion = u"DELETE FROM ARFOLYAM"_s + KeyCondition;
    const QString update = u"UPDATE ARFOLYAM SET ELAD = 391"_s + KeyCondition;
    const Statement rateRow = [](SuiteConnection &connection) {
        RateRows(connection).writeRateRow(RateTime, u"MNB"_s, u"EUR"_s, 392, 382, 387);
    };

    QTest::newRow("delete, then delete") << deletion << keyStatement(deletion);
    QTest::newRow("update, then update") << update << keyStatement(u"UPDATE ARFOLYAM SET VESZ = 381"_s + KeyCondition);
    QTest::newRow("delete, then the key inserted")
        << deletion
        << keyStatement(u"INSERT INTO ARFOLYAM (DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP) "
                        "VALUES (:dat, 'MNB', 'EUR', 'HUF', 1, 1, 1)"_s);
    QTest::newRow("update, then the rate row") << update << rateRow;
    QTest::newRow("delete, then the rate row") << deletion << rateRow;
}

// Another user's uncommitted change holds the row: ours gives up after the
// lock time-out, in words an accountant understands, and the connection
// goes on.
void TestSuiteConnection::lockedRow()
{
    QFETCH(QString, other);
    QFETCH(Statement, ours);

    const SuiteDatabase db;
    db.execute({RateRow});
    SuiteConnection otherUser(settingsOf(db));
    otherUser.begin();
    runOnKey(otherUser, other);

    std::future<Attempt> result = attempt(settingsOf(db), ours);
    QVERIFY2(endsInTime(result, otherUser), "still waiting for the row after 10 s");
    const Attempt seen = result.get();
    QVERIFY2(seen.error.startsWith(LockedStart), qPrintable(seen.error));
    QCOMPARE(seen.afterwards, u"1"_s);
    otherUser.rollback();
    QCOMPARE(db.rows(u"SELECT ELAD, VESZ, KOZEP FROM ARFOLYAM"_s),
             (QList<QStringList>{{u"390"_s, u"380"_s, u"385"_s}}));
}

// The other user commits while ours waits: an update conflict, told as a
// locked row, long before the lock time-out.
void TestSuiteConnection::rowChangedWhileWaiting()
{
    const SuiteDatabase db;
    db.execute({RateRow});
    SuiteConnection otherUser(settingsOf(db));
    otherUser.begin();
    runOnKey(otherUser, u"UPDATE ARFOLYAM SET ELAD = 391"_s + KeyCondition);
    // The other user's own statement has ended: only ours can be seen running.
    QVERIFY(!statementRunsOnRates(db));

    ConnectionSettings patient = settingsOf(db);
    // Longer than the test's deadline: only the conflict can end the wait in time.
    patient.lockTimeout = 30s;
    std::future<Attempt> result = attempt(patient, [](SuiteConnection &connection) {
        RateRows(connection).writeRateRow(RateTime, u"MNB"_s, u"EUR"_s, 392, 382, 387);
    });
    QDeadlineTimer deadline(10s);
    bool waiting = false;
    while (!(waiting = statementRunsOnRates(db)) && !deadline.hasExpired()
           && result.wait_for(0s) != std::future_status::ready) {
        std::this_thread::yield();
    }
    otherUser.commit();
    QVERIFY2(endsInTime(result, otherUser), "still waiting after the other user's commit");
    const Attempt seen = result.get();
    QVERIFY2(waiting, "our statement did not wait for the row");
    QVERIFY2(seen.error.startsWith(LockedStart), qPrintable(seen.error));
    QCOMPARE(seen.afterwards, u"1"_s);
    QCOMPARE(db.rows(u"SELECT ELAD, VESZ, KOZEP FROM ARFOLYAM"_s),
             (QList<QStringList>{{u"391"_s, u"380"_s, u"385"_s}}));
}

QTEST_GUILESS_MAIN(TestSuiteConnection)
#include "TestSuiteConnection.moc"
