#pragma once

#include "cli/CliHarness.h"
#include "fakes/SuiteDatabase.h"

#include <QDate>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <optional>

// What the fault tests share: a Firebird server of a test's own, a
// connection that stays open as another user of the suite would keep it,
// the runner under conditions of its environment, and a silent listener.

// A private Firebird server (scripts/test-firebird-server) in a temporary
// folder, which a test may kill: never the shared one of the tests labelled
// "server". Each start makes a new port and password. Throws
// std::runtime_error when the script fails.
class PrivateFirebirdServer {
public:
    PrivateFirebirdServer();
    ~PrivateFirebirdServer();
    PrivateFirebirdServer(const PrivateFirebirdServer &) = delete;
    PrivateFirebirdServer &operator=(const PrivateFirebirdServer &) = delete;

    void start();
    // SIGKILL; returns once the process is gone.
    void kill();
    void stop();

    TestFirebirdServer server() const { return m_server; }

private:
    QTemporaryDir m_folder;
    TestFirebirdServer m_server;
    qint64 m_pid = 0;
};

// One attachment of another user of the suite, open until destroyed: it
// holds rows locked with an uncommitted change, and it reads a database
// through a server that was started again. Throws std::runtime_error with
// Firebird's words.
class SuiteUser {
public:
    SuiteUser(const QString &path, const std::optional<TestFirebirdServer> &server);
    ~SuiteUser();
    SuiteUser(const SuiteUser &) = delete;
    SuiteUser &operator=(const SuiteUser &) = delete;

    // Runs the statements in one transaction and commits it.
    void execute(const QStringList &statements);
    // Runs the statement in a transaction that stays open, as a user who is
    // editing the row.
    void hold(const QString &statement);
    void release();
    // The rows as SuiteDatabase::rows gives them, in a transaction of their own.
    QList<QStringList> rows(const QString &select);

private:
    QString m_name;
    bool m_holding = false;
};

// A history import's entries: each code on each day, newest day first, the
// middle rate 300 + the entry's index.
struct HistoryEntry {
    QDate day;
    QString code;
    double middle = 0;
};
QList<HistoryEntry> historyEntries(const QStringList &codes, const QDate &newest, int days);
// The row an entry makes, as ImportFixture's rateRows() lists it.
QStringList historyRow(const HistoryEntry &entry, double rate);

// The runner's environment for one run.
struct RunnerConditions {
    // TMPDIR; empty for a fresh folder of the run's own.
    QString temporaryFolder;
    // RLIMIT_FSIZE in KiB, with SIGXFSZ ignored; 0 for none.
    int fileSizeLimitKiB = 0;
};

// arfolyam-cli started as CliHarness's runCli starts it, without the
// environment's proxy variables, not yet waited for.
struct StartedRunner {
    // The run's TMPDIR when the conditions name none; goes after the process.
    std::unique_ptr<QTemporaryDir> temporaryFolder;
    std::unique_ptr<QProcess> process;
};
StartedRunner startRunner(const QStringList &arguments, const RunnerConditions &conditions = {});
// Waits for a started runner to end; a run past the deadline is killed and
// reported with exit code -1.
CliRun finishRunner(QProcess &process, std::chrono::milliseconds deadline = std::chrono::seconds(90));
CliRun runRunner(const QStringList &arguments, const RunnerConditions &conditions = {});

// A port on 127.0.0.1 whose listener takes every connection into its queue
// and never reads or answers.
class SilentListener {
public:
    SilentListener();
    ~SilentListener();
    SilentListener(const SilentListener &) = delete;
    SilentListener &operator=(const SilentListener &) = delete;

    int port() const { return m_port; }

private:
    int m_listener = -1;
    int m_port = 0;
};

// Runs a Firebird tool (gfix, isql-fb) to its end; throws std::runtime_error
// with its output when it fails.
void runFirebirdTool(const QString &name, const QStringList &arguments);
