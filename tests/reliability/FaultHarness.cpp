#include "FaultHarness.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QThread>
#include <QVariant>

#include <arpa/inet.h>
#include <atomic>
#include <csignal>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void fail(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

QString readTrimmed(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(u"Cannot read %1."_s.arg(path));
    return QString::fromUtf8(file.readAll()).trimmed();
}

void runServerScript(const QString &action, const QString &folder)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(u"bash"_s, {QStringLiteral(ARFOLYAM_SERVER_SCRIPT), action, folder});
    if (!process.waitForFinished(90000)) {
        process.kill();
        process.waitForFinished();
        fail(u"test-firebird-server %1 did not finish."_s.arg(action));
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        fail(u"test-firebird-server %1 failed: %2"_s.arg(action, QString::fromUtf8(process.readAll())));
}

// A process that ended may stay a zombie until its parent, here init, reaps it.
bool running(qint64 pid)
{
    QFile stat(u"/proc/%1/stat"_s.arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close >= 0 && close + 2 < text.size() && text[close + 2] != 'Z' && text[close + 2] != 'X';
}

QString columnText(const QVariant &value)
{
    if (value.isNull())
        return u"NULL"_s;
    switch (value.metaType().id()) {
    case QMetaType::QDateTime:
        return value.toDateTime().toString(u"yyyy-MM-dd hh:mm:ss.zzz"_s);
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', 17);
    default:
        return value.toString();
    }
}

} // namespace

PrivateFirebirdServer::PrivateFirebirdServer()
{
    if (!m_folder.isValid())
        fail(u"No temporary folder for the private server."_s);
    start();
}

PrivateFirebirdServer::~PrivateFirebirdServer()
{
    try {
        stop();
    } catch (const std::exception &) {
        // The script's stop is safe to repeat; nothing more can be done here.
    }
}

void PrivateFirebirdServer::start()
{
    runServerScript(u"start"_s, m_folder.path());
    bool valid = false;
    m_server = {u"127.0.0.1"_s, readTrimmed(m_folder.filePath(u"port"_s)).toInt(&valid),
                readTrimmed(m_folder.filePath(u"password"_s))};
    m_pid = readTrimmed(m_folder.filePath(u"pid"_s)).toLongLong();
    if (!valid || m_pid <= 0)
        fail(u"The private server left no port or pid in %1."_s.arg(m_folder.path()));
}

void PrivateFirebirdServer::kill()
{
    if (::kill(pid_t(m_pid), SIGKILL) != 0)
        fail(u"Cannot kill the private server %1."_s.arg(m_pid));
    QDeadlineTimer deadline(30000);
    while (running(m_pid)) {
        if (deadline.hasExpired())
            fail(u"The private server %1 outlived SIGKILL."_s.arg(m_pid));
        QThread::yieldCurrentThread();
    }
}

void PrivateFirebirdServer::stop()
{
    runServerScript(u"stop"_s, m_folder.path());
}

SuiteUser::SuiteUser(const QString &path, const std::optional<TestFirebirdServer> &server)
{
    static std::atomic<int> count = 0;
    m_name = u"suite-user-%1"_s.arg(++count);
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QIBASE"_s, m_name);
    db.setDatabaseName(path);
    db.setUserName(u"SYSDBA"_s);
    if (server) {
        db.setHostName(server->host);
        db.setPort(server->port);
        db.setPassword(server->password);
    } else {
        db.setPassword(u"embedded"_s);
    }
    if (!db.open()) {
        const QString error = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        fail(u"Cannot open %1: %2"_s.arg(path, error));
    }
}

SuiteUser::~SuiteUser()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (m_holding)
            db.rollback();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

void SuiteUser::execute(const QStringList &statements)
{
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!db.transaction())
        fail(u"No transaction: %1"_s.arg(db.lastError().text()));
    for (const QString &statement : statements) {
        QSqlQuery query(db);
        if (!query.exec(statement)) {
            const QString error = query.lastError().text();
            db.rollback();
            fail(u"%1 failed: %2"_s.arg(statement, error));
        }
    }
    if (!db.commit())
        fail(u"Commit failed: %1"_s.arg(db.lastError().text()));
}

void SuiteUser::hold(const QString &statement)
{
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!db.transaction())
        fail(u"No transaction: %1"_s.arg(db.lastError().text()));
    m_holding = true;
    QSqlQuery query(db);
    if (!query.exec(statement))
        fail(u"%1 failed: %2"_s.arg(statement, query.lastError().text()));
}

void SuiteUser::release()
{
    if (!m_holding)
        return;
    m_holding = false;
    if (!QSqlDatabase::database(m_name, false).rollback())
        fail(u"The held change cannot be rolled back."_s);
}

QList<QStringList> SuiteUser::rows(const QString &select)
{
    if (m_holding)
        fail(u"The held transaction would hide what others committed."_s);
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!db.transaction())
        fail(u"No transaction: %1"_s.arg(db.lastError().text()));
    QList<QStringList> result;
    {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!query.exec(select)) {
            const QString error = query.lastError().text();
            db.rollback();
            fail(u"%1 failed: %2"_s.arg(select, error));
        }
        while (query.next()) {
            QStringList row;
            for (int column = 0; column < query.record().count(); ++column)
                row << columnText(query.value(column));
            result << row;
        }
    }
    db.rollback();
    return result;
}

QList<HistoryEntry> historyEntries(const QStringList &codes, const QDate &newest, int days)
{
    QList<HistoryEntry> entries;
    QDate day = newest;
    for (int d = 0; d < days; ++d) {
        while (day.dayOfWeek() > 5)
            day = day.addDays(-1);
        for (const QString &code : codes)
            entries.append({day, code, 300.0 + double(entries.size())});
        day = day.addDays(-1);
    }
    return entries;
}

QStringList historyRow(const HistoryEntry &entry, double rate)
{
    const QString number = QString::number(rate, 'g', 17);
    return {QDateTime(entry.day, QTime(0, 0)).toString(u"yyyy-MM-dd hh:mm:ss.zzz"_s),
            u"MNB"_s,
            entry.code,
            u"HUF"_s,
            number,
            number,
            number};
}

StartedRunner startRunner(const QStringList &arguments, const RunnerConditions &conditions)
{
    StartedRunner runner;
    runner.process = std::make_unique<QProcess>();
    QProcess *process = runner.process.get();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name :
         {u"http_proxy"_s, u"https_proxy"_s, u"HTTP_PROXY"_s, u"HTTPS_PROXY"_s, u"all_proxy"_s, u"ALL_PROXY"_s})
        environment.remove(name);
    QString temporaryFolder = conditions.temporaryFolder;
    if (temporaryFolder.isEmpty()) {
        runner.temporaryFolder = std::make_unique<QTemporaryDir>();
        temporaryFolder = runner.temporaryFolder->path();
    }
    environment.insert(u"TMPDIR"_s, temporaryFolder);
    process->setProcessEnvironment(environment);
    if (conditions.fileSizeLimitKiB > 0) {
        // ulimit -f counts KiB; with SIGXFSZ ignored a write past the limit
        // fails with EFBIG, as on a full disk, instead of ending the process.
        process->start(
            u"bash"_s,
            QStringList{u"-c"_s,
                        u"ulimit -f %1 && trap '' XFSZ && exec \"$0\" \"$@\""_s.arg(conditions.fileSizeLimitKiB),
                        QString::fromUtf8(ARFOLYAM_CLI)}
                + arguments);
    } else {
        process->start(QString::fromUtf8(ARFOLYAM_CLI), arguments);
    }
    return runner;
}

CliRun finishRunner(QProcess &process, std::chrono::milliseconds deadline)
{
    return finishCli(process, int(deadline.count()));
}

CliRun runRunner(const QStringList &arguments, const RunnerConditions &conditions)
{
    const StartedRunner runner = startRunner(arguments, conditions);
    return finishRunner(*runner.process);
}

SilentListener::SilentListener()
{
    m_listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    // The kernel completes each connection into the queue; nothing ever
    // takes it from there, reads the request or answers.
    if (m_listener < 0 || bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0 || listen(m_listener, 16) != 0)
        fail(u"The silent listener cannot listen on 127.0.0.1."_s);
    m_port = ntohs(address.sin_port);
}

SilentListener::~SilentListener()
{
    if (m_listener >= 0)
        close(m_listener);
}

void runFirebirdTool(const QString &name, const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(name);
    if (program.isEmpty())
        fail(u"%1 is not installed (scripts/install-deps)."_s.arg(name));
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        fail(u"%1 did not finish."_s.arg(name));
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        fail(u"%1 %2 failed: %3"_s.arg(name, arguments.join(u' '), QString::fromUtf8(process.readAll())));
}
