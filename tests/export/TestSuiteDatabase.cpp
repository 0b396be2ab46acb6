// Built twice: embedded, and with ARFOLYAM_THROUGH_SERVER through the test server.
#include "fakes/SuiteDatabase.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QTest>

#include <stdexcept>

namespace {

const QString BankName = QStringLiteral("Országos TakarékPénztár");

} // namespace

class TestSuiteDatabase : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void freshDatabaseHasTheSuiteTables();
    void rateKeyIsAUniqueIndex();
    void hungarianTextRoundTrips();
    void anotherClientReadsWhatWasWritten();
    void rowsAreText();
    void failedStatementLeavesNothing();
#ifdef ARFOLYAM_THROUGH_SERVER
    void wrongPasswordIsRefused();
#endif

private:
    std::optional<TestFirebirdServer> m_server;
};

void TestSuiteDatabase::initTestCase()
{
#ifdef ARFOLYAM_THROUGH_SERVER
    m_server = TestFirebirdServer::fromEnvironment();
    if (!m_server)
        QSKIP("No test server: CTest starts one (ARFOLYAM_TEST_SERVER_DIR).");
#endif
}

void TestSuiteDatabase::freshDatabaseHasTheSuiteTables()
{
    const SuiteDatabase db(m_server);
    QCOMPARE(db.serverName().isEmpty(), !m_server);
    QCOMPARE(db.rows("SELECT COALESCE(MON$REMOTE_PROTOCOL, 'embedded') FROM MON$ATTACHMENTS "
                     "WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION"),
             QList<QStringList>{{m_server ? "TCPv4" : "embedded"}});
    const QList<QStringList> tables{{"ARFOLYAM"}, {"CNFKOZOS"}, {"DEVIZA"}, {"VHELY"}};
    QCOMPARE(db.rows("SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 "
                     "ORDER BY 1"),
             tables);
    QCOMPARE(db.rows("SELECT TRIM(RDB$CHARACTER_SET_NAME) FROM RDB$DATABASE"), QList<QStringList>{{"WIN1250"}});
    QCOMPARE(db.rows("SELECT MON$FORCED_WRITES FROM MON$DATABASE"), QList<QStringList>{{"0"}});
    QVERIFY(db.rows("SELECT * FROM ARFOLYAM").isEmpty());
}

void TestSuiteDatabase::rateKeyIsAUniqueIndex()
{
    const SuiteDatabase db(m_server);
    QCOMPARE(db.rows("SELECT TRIM(RDB$RELATION_NAME), RDB$UNIQUE_FLAG FROM RDB$INDICES "
                     "WHERE RDB$INDEX_NAME = 'ARFOLYAM_KEY'"),
             (QList<QStringList>{{"ARFOLYAM", "1"}}));
    const QList<QStringList> key{{"BANK"}, {"DKOD"}, {"DKKOD"}, {"DAT"}};
    QCOMPARE(db.rows("SELECT TRIM(RDB$FIELD_NAME) FROM RDB$INDEX_SEGMENTS WHERE RDB$INDEX_NAME = 'ARFOLYAM_KEY' "
                     "ORDER BY RDB$FIELD_POSITION"),
             key);
}

void TestSuiteDatabase::hungarianTextRoundTrips()
{
    const SuiteDatabase db(m_server);
    db.execute({"INSERT INTO VHELY (KOD, NEV) VALUES ('OTP', '" + BankName + "')"});
    QCOMPARE(db.rows("SELECT NEV FROM VHELY WHERE KOD = 'OTP'"), QList<QStringList>{{BankName}});
    QCOMPARE(db.rows("SELECT KOD FROM VHELY WHERE NEV = '" + BankName + "'"), QList<QStringList>{{"OTP"}});
    // Stored as WIN1250, one byte a letter, as the suite keeps it.
    QCOMPARE(db.rows("SELECT CHAR_LENGTH(NEV), OCTET_LENGTH(NEV) FROM VHELY"),
             (QList<QStringList>{{QString::number(BankName.size()), QString::number(BankName.size())}}));
}

// Nothing stays open after a call: another process opens the file (embedded
// access is exclusive per process) and sees the committed text.
void TestSuiteDatabase::anotherClientReadsWhatWasWritten()
{
    const SuiteDatabase db(m_server);
    db.execute({"INSERT INTO VHELY (KOD, NEV) VALUES ('OTP', '" + BankName + "')"});
    const QString target = m_server ? db.serverName() + u':' + db.path() : db.path();
    QProcess isql;
    isql.setProcessChannelMode(QProcess::MergedChannels);
    isql.start("isql-fb", {"-q", "-ch", "UTF8", "-user", "SYSDBA", "-password", db.password(), target});
    isql.write("SET LIST ON;\nSELECT NEV FROM VHELY;\n");
    isql.closeWriteChannel();
    QVERIFY(isql.waitForFinished(60000));
    const QString output = QString::fromUtf8(isql.readAll());
    QVERIFY2(output.contains(BankName), qPrintable(output));
}

void TestSuiteDatabase::rowsAreText()
{
    const SuiteDatabase db(m_server);
    db.execute({"INSERT INTO ARFOLYAM (DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP) VALUES "
                "('2026-03-05 13:45:12.345', 'MNB', 'EUR', 'HUF', CAST(1 AS DOUBLE PRECISION) / 3, NULL, 385.5)",
                "INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('EUR', 'euró', 2)"});
    QCOMPARE(
        db.rows("SELECT DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP FROM ARFOLYAM"),
        (QList<QStringList>{{"2026-03-05 13:45:12.345", "MNB", "EUR", "HUF", "0.33333333333333331", "NULL", "385.5"}}));
    QCOMPARE(db.rows("SELECT KOD, NEV, TIZ FROM DEVIZA"), (QList<QStringList>{{"EUR", "euró", "2"}}));
}

void TestSuiteDatabase::failedStatementLeavesNothing()
{
    const SuiteDatabase db(m_server);
    QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                             db.execute({"INSERT INTO CNFKOZOS (KONYVDEV) VALUES ('HUF')",
                                         "INSERT INTO CNFKOZOS (KONYVDEV) VALUES ('TOO LONG')"}));
    QVERIFY(db.rows("SELECT * FROM CNFKOZOS").isEmpty());
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, db.rows("SELECT * FROM NO_SUCH_TABLE"));
}

#ifdef ARFOLYAM_THROUGH_SERVER
void TestSuiteDatabase::wrongPasswordIsRefused()
{
    const SuiteDatabase db(m_server);
    {
        QSqlDatabase connection = QSqlDatabase::addDatabase("QIBASE", "wrong password");
        connection.setHostName(m_server->host);
        connection.setPort(m_server->port);
        connection.setDatabaseName(db.path());
        connection.setUserName("SYSDBA");
        connection.setPassword(db.password() + "x");
        QVERIFY(!connection.open());
        QVERIFY2(connection.lastError().databaseText().contains("Your user name and password are not defined"),
                 qPrintable(connection.lastError().text()));
    }
    QSqlDatabase::removeDatabase("wrong password");
}
#endif

QTEST_GUILESS_MAIN(TestSuiteDatabase)
#include "TestSuiteDatabase.moc"
