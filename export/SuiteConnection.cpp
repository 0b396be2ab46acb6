#include "export/SuiteConnection.h"

#include "export/DatabaseError.h"
#include "export/LockWatch.h"

#include <QAtomicInteger>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>

using namespace Qt::StringLiterals;

namespace {

QString uniqueConnectionName()
{
    static QAtomicInteger<quint64> next;
    return u"arfolyam-suite-%1"_s.arg(++next);
}

// The two forms differ in their line breaks and in the blank after
// "Adatbázis:"; both are the program's own.
QString connectionFailureMessage(const ConnectionSettings &settings, const QString &errorText)
{
    if (!settings.server.isEmpty()) {
        return u"Hiba történt az adatbázishoz való csatlakozás közben!\r\n\nSzámitógép: "_s + settings.server
            + u"\r\nAdatbázis:"_s + settings.database + u"\r\n\n"_s + u"Hibaüzenet: "_s + errorText;
    }
    return u"Hiba történt az adatbázishoz való csatlakozás közben!\r\n\r\nSzámitógép: Sajátgép\r\nAdatbázis: "_s
        + settings.database + u"\r\n\r\n"_s + u"Hibaüzenet: "_s + errorText;
}

QString errorText(const QSqlError &error)
{
    const QString text = error.databaseText().trimmed();
    return text.isEmpty() ? error.text().trimmed() : text;
}

const QString LockedMessage =
    u"Az árfolyamtábla egyik sorát egy másik felhasználó zárolja (éppen módosítja a Belmora rendszerben), ezért "
    "az árfolyamok nem írhatók be. A futás egyetlen sort sem hagyott félbe; próbálja újra, amikor a másik "
    "felhasználó befejezte a munkát."_s;

// Firebird's SQLCODE for a row changed by a transaction that has since
// committed, or held by one still running.
bool isConflict(const QSqlError &error)
{
    return error.nativeErrorCode() == u"-913"_s;
}

// Firebird's SQLCODE for a key that a unique index already holds, also one
// of a transaction still running.
bool isDuplicate(const QSqlError &error)
{
    return error.nativeErrorCode() == u"-803"_s;
}

const QString ReadOnlyMessage =
    u"Az adatbázis csak olvasható (írásvédett), ezért az árfolyamok nem írhatók be; az adatbázis nem változott. "
    "Kérje meg a rendszergazdát, hogy tegye írhatóvá az adatbázist, majd próbálja újra."_s;

// The database's own message; for a database in Firebird's read-only mode
// (SQLCODE -817) words that say what to do.
QString failureText(const QSqlError &error)
{
    return error.nativeErrorCode() == u"-817"_s ? ReadOnlyMessage : errorText(error);
}

} // namespace

ConnectionSettings connectionSettings(const StartupSettings &settings)
{
    ConnectionSettings connection;
    connection.server = settings.server;
    connection.database = settings.database;
    connection.userName = settings.userName;
    connection.password = settings.password;
    return connection;
}

SuiteConnection::SuiteConnection(const ConnectionSettings &settings)
    : m_name(uniqueConnectionName())
{
    m_database = QSqlDatabase::addDatabase(u"QIBASE"_s, m_name);
    m_database.setDatabaseName(settings.server.isEmpty() ? settings.database
                                                         : settings.server + u':' + settings.database);
    m_database.setUserName(settings.userName);
    m_database.setPassword(settings.password);
    // Qt's driver always connects in UTF-8 (it takes no character set from
    // the options); the server converts to and from the database's WIN1250.
    if (!m_database.isValid() || !m_database.open()) {
        const QString text = m_database.isValid() ? errorText(m_database.lastError())
                                                  : u"Az adatbázis-kezelő (QIBASE) nem tölthető be."_s;
        m_database = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throw DatabaseError(connectionFailureMessage(settings, text));
    }
    m_lockWatch = std::make_unique<LockWatch>(m_database.driver()->handle(), settings.lockTimeout);
}

SuiteConnection::~SuiteConnection()
{
    rollback();
    m_statements.clear();
    m_lockWatch.reset();
    m_database.close();
    m_database = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

void SuiteConnection::begin()
{
    // A statement prepared outside a transaction runs in one of its own
    // that Qt's driver keeps: it must not be used inside this one.
    m_statements.clear();
    if (!m_database.transaction())
        throw DatabaseError(failureText(m_database.lastError()));
    m_inTransaction = true;
}

void SuiteConnection::commit()
{
    // Qt's driver ties a prepared statement to the transaction it was
    // prepared in: after the commit each is prepared again on first use.
    m_statements.clear();
    if (!m_database.commit())
        throw DatabaseError(failureText(m_database.lastError()));
    m_inTransaction = false;
}

void SuiteConnection::rollback() noexcept
{
    if (!m_inTransaction)
        return;
    m_statements.clear();
    m_database.rollback();
    m_inTransaction = false;
}

QSqlQuery &SuiteConnection::statement(const QString &sql)
{
    std::shared_ptr<QSqlQuery> &query = m_statements[sql];
    if (!query) {
        auto prepared = std::make_shared<QSqlQuery>(m_database);
        if (!prepared->prepare(sql))
            throw DatabaseError(errorText(prepared->lastError()));
        query = prepared;
    }
    return *query;
}

void SuiteConnection::execute(QSqlQuery &query, DuplicateKey duplicateKey)
{
    bool succeeded = false;
    const bool cancelled = m_lockWatch->guard([&] { succeeded = query.exec(); });
    if (succeeded)
        return;
    if (cancelled || isConflict(query.lastError())
        || (duplicateKey == DuplicateKey::Conflict && isDuplicate(query.lastError())))
        throw DatabaseError(LockedMessage);
    throw DatabaseError(failureText(query.lastError()));
}

QList<QVariantList> SuiteConnection::rows(QSqlQuery &query)
{
    execute(query);
    QList<QVariantList> result;
    while (query.next()) {
        QVariantList row;
        for (int column = 0; column < query.record().count(); ++column)
            row << query.value(column);
        result << row;
    }
    const QSqlError error = query.lastError();
    query.finish();
    if (error.isValid())
        throw DatabaseError(errorText(error));
    return result;
}

bool SuiteConnection::returnsRow(QSqlQuery &query)
{
    execute(query);
    bool found = false;
    const bool cancelled = m_lockWatch->guard([&] { found = query.next(); });
    const QSqlError error = query.lastError();
    query.finish();
    if (cancelled)
        throw DatabaseError(LockedMessage);
    if (!found && error.isValid())
        throw DatabaseError(errorText(error));
    return found;
}
