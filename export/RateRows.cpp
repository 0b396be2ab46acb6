#include "export/RateRows.h"

#include "export/SuiteConnection.h"

using namespace Qt::StringLiterals;

namespace {

// A day's rows are looked up as the half-open range of its timestamps, so
// that the key index serves the look-up; it finds exactly the rows whose DAT
// falls on that calendar day.
const QString RateDelete =
    u"DELETE FROM ARFOLYAM WHERE DAT = :dat AND BANK = :bank AND DKOD = :dev AND DKKOD = 'HUF'"_s;
const QString RateLookup = u"SELECT 1 FROM ARFOLYAM WHERE BANK = :bank AND DKOD = :dev AND DKKOD = 'HUF' AND "
                           "DAT >= :day AND DAT < :nextDay AND ELAD = :sale AND VESZ = :buy AND KOZEP = :middle "
                           "ROWS 1"_s;
const QString RateInsert = u"INSERT INTO ARFOLYAM (DAT,BANK,DKOD,DKKOD,ELAD,VESZ,KOZEP) "
                           "VALUES (:dat,:bank,:dev,'HUF',:sale,:buy,:middle)"_s;

const QString CrossDelete =
    u"DELETE FROM ARFOLYAM WHERE DAT = :dat AND BANK = :bank AND DKOD = :dev AND DKKOD = :book"_s;
const QString CrossLookup = u"SELECT 1 FROM ARFOLYAM WHERE BANK = :bank AND DKOD = :dev AND DKKOD = :book AND "
                            "DAT >= :day AND DAT < :nextDay AND ELAD = :middle AND VESZ = :middle AND "
                            "KOZEP = :middle ROWS 1"_s;
const QString CrossInsert = u"INSERT INTO ARFOLYAM (DAT,BANK,DKOD,DKKOD,ELAD,VESZ,KOZEP) "
                            "VALUES (:dat,:bank,:dev,:book,:middle,:middle,:middle)"_s;

const QString ReversedDelete =
    u"DELETE FROM ARFOLYAM WHERE DAT = :dat AND BANK = :bank AND DKOD = 'HUF' AND DKKOD = :dev"_s;
const QString ReversedLookup = u"SELECT 1 FROM ARFOLYAM WHERE BANK = :bank AND DKOD = 'HUF' AND DKKOD = :dev AND "
                               "DAT >= :day AND DAT < :nextDay AND ELAD = :middle AND VESZ = :middle AND "
                               "KOZEP = :middle ROWS 1"_s;
const QString ReversedInsert = u"INSERT INTO ARFOLYAM (DAT,BANK,DKOD,DKKOD,ELAD,VESZ,KOZEP) "
                               "VALUES (:dat,:bank,'HUF',:dev,:middle,:middle,:middle)"_s;

const QString UndatedDelete = u"DELETE FROM ARFOLYAM WHERE DAT = :dat"_s;

struct Key {
    QDateTime writeDate;
    QString bank;
    QString code;
    QString bookCurrency;
};

void bindKey(QSqlQuery &query, const Key &key)
{
    query.bindValue(u":bank"_s, key.bank);
    query.bindValue(u":dev"_s, key.code);
    if (!key.bookCurrency.isEmpty())
        query.bindValue(u":book"_s, key.bookCurrency);
}

// Delete, look the day up, insert only when it holds no such row.
template<typename BindRates>
RowOutcome replaceRow(SuiteConnection &connection, const Key &key, const QString &deletion, const QString &lookup,
                      const QString &insertion, BindRates bindRates)
{
    QSqlQuery &remove = connection.statement(deletion);
    bindKey(remove, key);
    remove.bindValue(u":dat"_s, key.writeDate);
    connection.execute(remove);
    const bool replaced = remove.numRowsAffected() > 0;

    QSqlQuery &find = connection.statement(lookup);
    bindKey(find, key);
    find.bindValue(u":day"_s, dayOf(key.writeDate));
    find.bindValue(u":nextDay"_s, dayOf(key.writeDate).addDays(1));
    bindRates(find);
    if (connection.returnsRow(find))
        return RowOutcome::Kept;

    QSqlQuery &insert = connection.statement(insertion);
    bindKey(insert, key);
    insert.bindValue(u":dat"_s, key.writeDate);
    bindRates(insert);
    connection.execute(insert, SuiteConnection::DuplicateKey::Conflict);
    return replaced ? RowOutcome::Replaced : RowOutcome::Added;
}

} // namespace

RateRows::RateRows(SuiteConnection &connection)
    : m_connection(connection)
{
}

RowOutcome RateRows::writeRateRow(const QDateTime &writeDate, const QString &bank, const QString &code, double sale,
                                  double buy, double middle)
{
    return replaceRow(m_connection, {writeDate, bank, code, {}}, RateDelete, RateLookup, RateInsert,
                      [&](QSqlQuery &query) {
        query.bindValue(u":sale"_s, sale);
        query.bindValue(u":buy"_s, buy);
        query.bindValue(u":middle"_s, middle);
    });
}

RowOutcome RateRows::writeDayRateRow(const QDate &day, const QString &bank, const QString &code, double sale,
                                     double buy, double middle)
{
    const QDateTime dat(day, QTime(0, 0));
    QSqlQuery &remove = m_connection.statement(RateDelete);
    remove.bindValue(u":dat"_s, dat);
    remove.bindValue(u":bank"_s, bank);
    remove.bindValue(u":dev"_s, code);
    m_connection.execute(remove);
    const bool replaced = remove.numRowsAffected() > 0;

    QSqlQuery &insert = m_connection.statement(RateInsert);
    insert.bindValue(u":dat"_s, dat);
    insert.bindValue(u":bank"_s, bank);
    insert.bindValue(u":dev"_s, code);
    insert.bindValue(u":sale"_s, sale);
    insert.bindValue(u":buy"_s, buy);
    insert.bindValue(u":middle"_s, middle);
    m_connection.execute(insert, SuiteConnection::DuplicateKey::Conflict);
    return replaced ? RowOutcome::Replaced : RowOutcome::Added;
}

RowOutcome RateRows::writeCrossRow(const QDateTime &writeDate, const QString &bank, const QString &code,
                                   const QString &bookCurrency, double rate)
{
    return replaceRow(m_connection, {writeDate, bank, code, bookCurrency}, CrossDelete, CrossLookup, CrossInsert,
                      [&](QSqlQuery &query) { query.bindValue(u":middle"_s, rate); });
}

RowOutcome RateRows::writeReversedRow(const QDateTime &writeDate, const QString &bank, const QString &code, double rate)
{
    return replaceRow(m_connection, {writeDate, bank, code, {}}, ReversedDelete, ReversedLookup, ReversedInsert,
                      [&](QSqlQuery &query) { query.bindValue(u":middle"_s, rate); });
}

void RateRows::deleteUndatedRows()
{
    QSqlQuery &remove = m_connection.statement(UndatedDelete);
    remove.bindValue(u":dat"_s, QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
    m_connection.execute(remove);
}
