#pragma once

#include "startup/StartupSettings.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <chrono>
#include <memory>

class LockWatch;

struct ConnectionSettings {
    // Empty for a local file, reached through the embedded engine.
    QString server;
    QString database;
    QString userName;
    QString password;
    // How long a statement may wait for a row another user holds.
    std::chrono::milliseconds lockTimeout{30000};
};

ConnectionSettings connectionSettings(const StartupSettings &settings);

// One task's connection to the suite's database: opened for the task, one
// transaction at a time, every statement prepared once per transaction and
// run again and again, closed with the object however the task ends. An open transaction
// that was not committed is rolled back then.
class SuiteConnection {
public:
    // Throws DatabaseError with the connection-failure message.
    explicit SuiteConnection(const ConnectionSettings &settings);
    ~SuiteConnection();
    SuiteConnection(const SuiteConnection &) = delete;
    SuiteConnection &operator=(const SuiteConnection &) = delete;

    void begin();
    void commit();
    // Never throws: a failing rollback changes nothing more.
    void rollback() noexcept;
    bool inTransaction() const { return m_inTransaction; }

    // The statement of that text, prepared on first use in the transaction;
    // valid until the transaction ends.
    QSqlQuery &statement(const QString &sql);
    // What a duplicate key means for an insert.
    enum class DuplicateKey {
        // The database's message.
        Error,
        // The transaction deleted that key before inserting it: only another
        // user's row, written meanwhile, can hold it, a conflict like a lock.
        Conflict,
    };
    // Runs a prepared statement with its bound values. Throws DatabaseError:
    // the database's message, or for a row another user holds words that say
    // so.
    void execute(QSqlQuery &query, DuplicateKey duplicateKey = DuplicateKey::Error);
    // Runs a SELECT and tells whether it returned a row; the cursor is
    // closed again.
    bool returnsRow(QSqlQuery &query);
    // Runs a SELECT and reads every row, each its columns' values.
    QList<QVariantList> rows(QSqlQuery &query);

private:
    QString m_name;
    QSqlDatabase m_database;
    QHash<QString, std::shared_ptr<QSqlQuery>> m_statements;
    std::unique_ptr<LockWatch> m_lockWatch;
    bool m_inTransaction = false;
};
