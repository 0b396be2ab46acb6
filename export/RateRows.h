#pragma once

#include <QDateTime>
#include <QString>

class SuiteConnection;

// The rows of ARFOLYAM that one rate makes, each replaced by its key (DAT,
// BANK, DKOD, DKKOD): deleted, then inserted again. Every statement is bound,
// never built from the data. Each throws DatabaseError when a statement
// fails.

enum class RowOutcome {
    // A new key.
    Added,
    // The key's earlier row was deleted and written again.
    Replaced,
    // The same calendar day already holds a row of that bank and pair with
    // the same three rates, at another time of day: nothing was added.
    Kept,
};

// The day of a key (its DAT at midnight).
inline QDateTime dayOf(const QDateTime &writeDate)
{
    return QDateTime(writeDate.date(), QTime(0, 0));
}

class RateRows {
public:
    explicit RateRows(SuiteConnection &connection);

    // The currency priced in forint, at writeDate.
    RowOutcome writeRateRow(const QDateTime &writeDate, const QString &bank, const QString &code, double sale,
                            double buy, double middle);
    // A history run's row: keyed by the day, with no look at the day's rows.
    RowOutcome writeDayRateRow(const QDate &day, const QString &bank, const QString &code, double sale, double buy,
                               double middle);
    // The currency priced in the book-keeping currency; the one rate goes
    // into all three columns.
    RowOutcome writeCrossRow(const QDateTime &writeDate, const QString &bank, const QString &code,
                             const QString &bookCurrency, double rate);
    // Forint priced in the currency.
    RowOutcome writeReversedRow(const QDateTime &writeDate, const QString &bank, const QString &code, double rate);
    // Removes every row dated 1899-12-30, the date-time zero, whatever its
    // bank.
    void deleteUndatedRows();

private:
    SuiteConnection &m_connection;
};
