#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

// The private Firebird server that CTest starts for the tests labelled "server"
// (scripts/test-firebird-server); ARFOLYAM_TEST_SERVER_DIR names its folder.
struct TestFirebirdServer {
    QString host;
    int port = 0;
    QString password;

    // None when the environment names no server. Throws std::runtime_error when
    // it names a folder without a running server's port and password.
    static std::optional<TestFirebirdServer> fromEnvironment();
};

// A fresh suite database (sql/suite-schema.sql, DEFAULT CHARACTER SET WIN1250)
// in a temporary folder of its own, made with isql-fb, forced writes off so
// that tests are fast. Reached embedded, or through the test server when one is
// given (the server runs as the tests' user, so it can open the file).
// Throws std::runtime_error when something fails, with Firebird's words.
class SuiteDatabase {
public:
    explicit SuiteDatabase(const std::optional<TestFirebirdServer> &server = std::nullopt);
    SuiteDatabase(const SuiteDatabase &) = delete;
    SuiteDatabase &operator=(const SuiteDatabase &) = delete;

    // The file; what a /d switch gives, embedded and through the server.
    QString path() const;
    // "127.0.0.1/<port>" through the server, what a /server switch gives; empty embedded.
    QString serverName() const;
    // The server's SYSDBA password; embedded, any text is taken.
    QString password() const;

    // Each call opens a connection of its own and closes it before returning:
    // the program under test, often another process, must be able to open the
    // file (embedded access is exclusive per process).

    // Runs the statements in one transaction; none of them stays when one fails.
    void execute(const QStringList &statements) const;
    // The rows of a SELECT, each the columns as text: timestamps as
    // "yyyy-MM-dd hh:mm:ss.zzz", doubles as QString::number(v, 'g', 17), NULL as "NULL".
    QList<QStringList> rows(const QString &select) const;

private:
    QTemporaryDir m_folder;
    std::optional<TestFirebirdServer> m_server;
    QString m_path;
};
