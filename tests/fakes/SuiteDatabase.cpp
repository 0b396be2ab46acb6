#include "fakes/SuiteDatabase.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QVariant>

#include <atomic>
#include <stdexcept>

namespace {

[[noreturn]] void fail(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

QString readTrimmed(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("Cannot read %1: is the test server started (scripts/test-firebird-server start)?")
                 .arg(path));
    return QString::fromUtf8(file.readAll()).trimmed();
}

// Runs a Firebird tool to its end; its output when it succeeded.
QString runTool(const QString &name, const QStringList &arguments, const QByteArray &input = {})
{
    const QString program = QStandardPaths::findExecutable(name);
    if (program.isEmpty())
        fail(QStringLiteral("%1 is not installed (scripts/install-deps).").arg(name));
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        fail(QStringLiteral("%1 did not finish: %2").arg(name, process.errorString()));
    }
    const QString output = QString::fromUtf8(process.readAll());
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        fail(QStringLiteral("%1 %2 failed: %3").arg(name, arguments.join(u' '), output));
    return output;
}

QString quoted(QString text)
{
    return u'\'' + text.replace(u'\'', QLatin1String("''")) + u'\'';
}

// One Qt connection for the length of one call: never left open, and its name
// never shared with another.
class Connection {
public:
    Connection(const QString &path, const std::optional<TestFirebirdServer> &server)
        : m_name(QStringLiteral("SuiteDatabase-%1").arg(++s_count))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), m_name);
        db.setDatabaseName(path);
        db.setUserName(QStringLiteral("SYSDBA"));
        if (server) {
            db.setHostName(server->host);
            db.setPort(server->port);
            db.setPassword(server->password);
        } else {
            db.setPassword(QStringLiteral("embedded"));
        }
        if (!db.open()) {
            const QString error = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_name);
            fail(QStringLiteral("Cannot open %1: %2").arg(path, error));
        }
    }
    ~Connection()
    {
        database().close();
        QSqlDatabase::removeDatabase(m_name);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    QSqlDatabase database() const { return QSqlDatabase::database(m_name, false); }

private:
    static inline std::atomic<int> s_count = 0;
    QString m_name;
};

QString columnText(const QVariant &value)
{
    if (value.isNull())
        return QStringLiteral("NULL");
    switch (value.metaType().id()) {
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', 17);
    default:
        return value.toString();
    }
}

} // namespace

std::optional<TestFirebirdServer> TestFirebirdServer::fromEnvironment()
{
    const QString folder = qEnvironmentVariable("ARFOLYAM_TEST_SERVER_DIR");
    if (folder.isEmpty())
        return std::nullopt;
    bool valid = false;
    const int port = readTrimmed(folder + QLatin1String("/port")).toInt(&valid);
    if (!valid || port <= 0 || port > 65535)
        fail(QStringLiteral("No port in %1/port.").arg(folder));
    return TestFirebirdServer{QStringLiteral("127.0.0.1"), port, readTrimmed(folder + QLatin1String("/password"))};
}

namespace {

// Made once per test process with the tools; every database of the process
// starts as a copy of it, which costs a file copy instead of two processes.
QString templateDatabase()
{
    static QTemporaryDir folder;
    static const QString path = [] {
        if (!folder.isValid())
            fail(QStringLiteral("No temporary folder: %1").arg(folder.errorString()));
        const QString file = folder.filePath(QStringLiteral("template.fdb"));
        QFile schema(QStringLiteral(ARFOLYAM_SUITE_SCHEMA));
        if (!schema.open(QIODevice::ReadOnly))
            fail(QStringLiteral("Cannot read %1.").arg(schema.fileName()));
        const QByteArray script = "CREATE DATABASE " + quoted(file).toUtf8()
            + " USER 'SYSDBA' PAGE_SIZE 8192 DEFAULT CHARACTER SET WIN1250;\n" + schema.readAll();
        runTool(QStringLiteral("isql-fb"),
                {QStringLiteral("-q"), QStringLiteral("-b"), QStringLiteral("-ch"), QStringLiteral("UTF8")}, script);
        runTool(QStringLiteral("gfix"),
                {QStringLiteral("-write"), QStringLiteral("async"), QStringLiteral("-user"), QStringLiteral("SYSDBA"),
                 file});
        return file;
    }();
    return path;
}

} // namespace

SuiteDatabase::SuiteDatabase(const std::optional<TestFirebirdServer> &server)
    : m_server(server)
{
    if (!m_folder.isValid())
        fail(QStringLiteral("No temporary folder: %1").arg(m_folder.errorString()));
    m_path = m_folder.filePath(QStringLiteral("suite.fdb"));
    if (!QFile::copy(templateDatabase(), m_path))
        fail(QStringLiteral("Cannot copy the template database to %1.").arg(m_path));
}

QString SuiteDatabase::path() const
{
    return m_path;
}

QString SuiteDatabase::serverName() const
{
    return m_server ? QStringLiteral("%1/%2").arg(m_server->host).arg(m_server->port) : QString();
}

QString SuiteDatabase::password() const
{
    return m_server ? m_server->password : QStringLiteral("embedded");
}

void SuiteDatabase::execute(const QStringList &statements) const
{
    const Connection connection(m_path, m_server);
    QSqlDatabase db = connection.database();
    if (!db.transaction())
        fail(QStringLiteral("No transaction on %1: %2").arg(m_path, db.lastError().text()));
    QString failure;
    for (const QString &statement : statements) {
        QSqlQuery query(db);
        if (!query.exec(statement)) {
            failure = QStringLiteral("%1 failed: %2").arg(statement, query.lastError().text());
            break;
        }
    }
    if (!failure.isEmpty()) {
        db.rollback();
        fail(failure);
    }
    if (!db.commit())
        fail(QStringLiteral("Commit on %1 failed: %2").arg(m_path, db.lastError().text()));
}

QList<QStringList> SuiteDatabase::rows(const QString &select) const
{
    const Connection connection(m_path, m_server);
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!query.exec(select))
        fail(QStringLiteral("%1 failed: %2").arg(select, query.lastError().text()));
    QList<QStringList> result;
    while (query.next()) {
        QStringList row;
        for (int column = 0; column < query.record().count(); ++column)
            row << columnText(query.value(column));
        result << row;
    }
    // A failed fetch ends next() as the last row does.
    if (query.lastError().isValid())
        fail(QStringLiteral("%1 failed: %2").arg(select, query.lastError().text()));
    return result;
}
