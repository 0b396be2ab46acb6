#include "export/RateRows.h"
#include "export/SuiteConnection.h"
#include "fakes/SuiteDatabase.h"

#include <QSet>
#include <QSqlQuery>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QDate Day(2026, 3, 5);
const QString AllRows =
    u"SELECT DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP FROM ARFOLYAM ORDER BY DAT, BANK, DKOD, DKKOD"_s;

QDateTime at(const QDate &day, int hour, int minute, int second = 0, int millisecond = 0)
{
    return QDateTime(day, QTime(hour, minute, second, millisecond));
}

QString text(const QDateTime &dateTime)
{
    return dateTime.toString(u"yyyy-MM-dd hh:mm:ss.zzz"_s);
}

QString text(double value)
{
    return QString::number(value, 'g', 17);
}

QStringList row(const QDateTime &dat, const QString &bank, const QString &code, const QString &priceIn, double sale,
                double buy, double middle)
{
    return {text(dat), bank, code, priceIn, text(sale), text(buy), text(middle)};
}

enum Write { Rate, Cross, Reversed };

} // namespace

Q_DECLARE_METATYPE(RowOutcome)
Q_DECLARE_METATYPE(Write)

class TestRateRows : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void rateRowOutcomes();
    void crossAndReversedRows();
    void rowsOfOtherPairsAreNotTheDaysRow_data();
    void rowsOfOtherPairsAreNotTheDaysRow();
    void dayRateRowIsKeyedByMidnight();
    void undatedRowsAreRemoved();
    void timestampsKeepTheirMilliseconds_data();
    void timestampsKeepTheirMilliseconds();
    void dayLookupIsTheCalendarDay();
    void keysAreDataNeverSql_data();
    void keysAreDataNeverSql();

private:
    // Writes committed, for the table to be read from outside.
    template<typename Step>
    RowOutcome committed(Step step);
    void insert(const QDateTime &dat, const QString &bank, const QString &code, const QString &priceIn, double sale,
                double buy, double middle);

    std::unique_ptr<SuiteDatabase> m_db;
    std::unique_ptr<SuiteConnection> m_connection;
    std::unique_ptr<RateRows> m_rows;
};

void TestRateRows::initTestCase()
{
    m_db = std::make_unique<SuiteDatabase>();
}

void TestRateRows::init()
{
    m_db->execute({u"DELETE FROM ARFOLYAM"_s});
    m_connection =
        std::make_unique<SuiteConnection>(ConnectionSettings{QString(), m_db->path(), u"SYSDBA"_s, m_db->password()});
    m_rows = std::make_unique<RateRows>(*m_connection);
}

void TestRateRows::cleanup()
{
    m_rows.reset();
    m_connection.reset();
}

template<typename Step>
RowOutcome TestRateRows::committed(Step step)
{
    m_connection->begin();
    const RowOutcome outcome = step(*m_rows);
    m_connection->commit();
    return outcome;
}

void TestRateRows::insert(const QDateTime &dat, const QString &bank, const QString &code, const QString &priceIn,
                          double sale, double buy, double middle)
{
    QSqlQuery &query = m_connection->statement(u"INSERT INTO ARFOLYAM (DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP) "
                                               "VALUES (:dat, :bank, :dev, :in, :sale, :buy, :middle)"_s);
    query.bindValue(u":dat"_s, dat);
    query.bindValue(u":bank"_s, bank);
    query.bindValue(u":dev"_s, code);
    query.bindValue(u":in"_s, priceIn);
    query.bindValue(u":sale"_s, sale);
    query.bindValue(u":buy"_s, buy);
    query.bindValue(u":middle"_s, middle);
    m_connection->execute(query);
}

// One key replaced, one day's same rates kept, changed rates added: what
// two tables of OTP Bank on one day, and a run made twice, leave.
void TestRateRows::rateRowOutcomes()
{
    const auto write = [&](const QDateTime &dat, const QString &bank, double sale, double buy, double middle) {
        return committed([&](RateRows &rows) { return rows.writeRateRow(dat, bank, u"EUR"_s, sale, buy, middle); });
    };
    const QStringList morning = row(at(Day, 10, 15), u"OTP"_s, u"EUR"_s, u"HUF"_s, 395.5, 375.25, 385.1);
    const QStringList afternoon = row(at(Day, 14, 0), u"OTP"_s, u"EUR"_s, u"HUF"_s, 396, 376, 386);

    QCOMPARE(write(at(Day, 10, 15), u"OTP"_s, 395.5, 375.25, 385.1), RowOutcome::Added);
    QCOMPARE(m_db->rows(AllRows), QList<QStringList>{morning});

    QCOMPARE(write(at(Day, 10, 15), u"OTP"_s, 395.5, 375.25, 385.1), RowOutcome::Replaced);
    QCOMPARE(m_db->rows(AllRows), QList<QStringList>{morning});

    // A later table of the day with the same rates adds nothing.
    QCOMPARE(write(at(Day, 14, 0), u"OTP"_s, 395.5, 375.25, 385.1), RowOutcome::Kept);
    QCOMPARE(m_db->rows(AllRows), QList<QStringList>{morning});

    QCOMPARE(write(at(Day, 14, 0), u"OTP"_s, 396, 376, 386), RowOutcome::Added);
    QCOMPARE(m_db->rows(AllRows), (QList<QStringList>{morning, afternoon}));

    // New rates at the key's own time replace its row.
    QCOMPARE(write(at(Day, 14, 0), u"OTP"_s, 396, 376, 386.5), RowOutcome::Replaced);
    const QStringList changed = row(at(Day, 14, 0), u"OTP"_s, u"EUR"_s, u"HUF"_s, 396, 376, 386.5);
    QCOMPARE(m_db->rows(AllRows), (QList<QStringList>{morning, changed}));

    // The key's row deleted, the day's morning row says the same: nothing
    // comes back in its place.
    QCOMPARE(write(at(Day, 14, 0), u"OTP"_s, 395.5, 375.25, 385.1), RowOutcome::Kept);
    QCOMPARE(m_db->rows(AllRows), QList<QStringList>{morning});

    // Another bank, another day: rows of their own.
    QCOMPARE(write(at(Day, 14, 0), u"MNB"_s, 395.5, 375.25, 385.1), RowOutcome::Added);
    QCOMPARE(write(at(Day.addDays(1), 10, 15), u"OTP"_s, 395.5, 375.25, 385.1), RowOutcome::Added);
    QCOMPARE(m_db->rows(AllRows),
             (QList<QStringList>{morning, row(at(Day, 14, 0), u"MNB"_s, u"EUR"_s, u"HUF"_s, 395.5, 375.25, 385.1),
                                 row(at(Day.addDays(1), 10, 15), u"OTP"_s, u"EUR"_s, u"HUF"_s, 395.5, 375.25, 385.1)}));
}

void TestRateRows::crossAndReversedRows()
{
    const QDateTime dat = at(Day, 11, 0);
    QCOMPARE(committed([&](RateRows &rows) { return rows.writeCrossRow(dat, u"MNB"_s, u"USD"_s, u"EUR"_s, 0.95); }),
             RowOutcome::Added);
    QCOMPARE(committed([&](RateRows &rows) { return rows.writeReversedRow(dat, u"MNB"_s, u"USD"_s, 0.004); }),
             RowOutcome::Added);
    const QList<QStringList> expected{row(dat, u"MNB"_s, u"HUF"_s, u"USD"_s, 0.004, 0.004, 0.004),
                                      row(dat, u"MNB"_s, u"USD"_s, u"EUR"_s, 0.95, 0.95, 0.95)};
    QCOMPARE(m_db->rows(AllRows), expected);

    QCOMPARE(committed([&](RateRows &rows) { return rows.writeCrossRow(dat, u"MNB"_s, u"USD"_s, u"EUR"_s, 0.95); }),
             RowOutcome::Replaced);
    QCOMPARE(committed([&](RateRows &rows) { return rows.writeReversedRow(dat, u"MNB"_s, u"USD"_s, 0.004); }),
             RowOutcome::Replaced);
    QCOMPARE(m_db->rows(AllRows), expected);

    // Later the same day with the same rate: the day's rows stand.
    const QDateTime later = at(Day, 15, 30);
    QCOMPARE(committed([&](RateRows &rows) { return rows.writeCrossRow(later, u"MNB"_s, u"USD"_s, u"EUR"_s, 0.95); }),
             RowOutcome::Kept);
    QCOMPARE(committed([&](RateRows &rows) { return rows.writeReversedRow(later, u"MNB"_s, u"USD"_s, 0.004); }),
             RowOutcome::Kept);
    QCOMPARE(m_db->rows(AllRows), expected);

    // Priced in another book-keeping currency: another pair.
    QCOMPARE(committed([&](RateRows &rows) { return rows.writeCrossRow(dat, u"MNB"_s, u"USD"_s, u"CHF"_s, 0.95); }),
             RowOutcome::Added);
    QCOMPARE(m_db->rows(u"SELECT DKOD, DKKOD, ELAD, VESZ, KOZEP FROM ARFOLYAM WHERE DKKOD = 'CHF'"_s),
             (QList<QStringList>{{u"USD"_s, u"CHF"_s, text(0.95), text(0.95), text(0.95)}}));
}

void TestRateRows::rowsOfOtherPairsAreNotTheDaysRow_data()
{
    QTest::addColumn<Write>("write");
    QTest::addColumn<QString>("bank");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("priceIn");
    QTest::addColumn<RowOutcome>("outcome");

    // A row already there at 10:00 with 0.95 in every column; at 14:00 MNB's
    // USD is written with the same rates: priced in forint, in EUR, or
    // forint priced in it.
    QTest::newRow("cross, beside the rate row") << Cross << u"MNB"_s << u"USD"_s << u"HUF"_s << RowOutcome::Added;
    QTest::newRow("cross, beside the reversed row") << Cross << u"MNB"_s << u"HUF"_s << u"USD"_s << RowOutcome::Added;
    QTest::newRow("cross, beside the swapped pair") << Cross << u"MNB"_s << u"EUR"_s << u"USD"_s << RowOutcome::Added;
    QTest::newRow("cross, beside another bank's") << Cross << u"OTP"_s << u"USD"_s << u"EUR"_s << RowOutcome::Added;
    QTest::newRow("cross, beside one in CHF") << Cross << u"MNB"_s << u"USD"_s << u"CHF"_s << RowOutcome::Added;
    QTest::newRow("cross, the day's own") << Cross << u"MNB"_s << u"USD"_s << u"EUR"_s << RowOutcome::Kept;
    QTest::newRow("reversed, beside the rate row") << Reversed << u"MNB"_s << u"USD"_s << u"HUF"_s << RowOutcome::Added;
    QTest::newRow("reversed, beside another bank's")
        << Reversed << u"OTP"_s << u"HUF"_s << u"USD"_s << RowOutcome::Added;
    QTest::newRow("reversed, beside another code's")
        << Reversed << u"MNB"_s << u"HUF"_s << u"GBP"_s << RowOutcome::Added;
    QTest::newRow("reversed, the day's own") << Reversed << u"MNB"_s << u"HUF"_s << u"USD"_s << RowOutcome::Kept;
    QTest::newRow("rate, beside the reversed row") << Rate << u"MNB"_s << u"HUF"_s << u"USD"_s << RowOutcome::Added;
    QTest::newRow("rate, beside the cross row") << Rate << u"MNB"_s << u"USD"_s << u"EUR"_s << RowOutcome::Added;
    QTest::newRow("rate, beside another bank's") << Rate << u"OTP"_s << u"USD"_s << u"HUF"_s << RowOutcome::Added;
    QTest::newRow("rate, the day's own") << Rate << u"MNB"_s << u"USD"_s << u"HUF"_s << RowOutcome::Kept;
}

// The day's look-up is by bank and pair: a row of the same rates under
// another key never stands for the one being written.
void TestRateRows::rowsOfOtherPairsAreNotTheDaysRow()
{
    QFETCH(Write, write);
    QFETCH(QString, bank);
    QFETCH(QString, code);
    QFETCH(QString, priceIn);
    QFETCH(RowOutcome, outcome);

    m_connection->begin();
    insert(at(Day, 10, 0), bank, code, priceIn, 0.95, 0.95, 0.95);
    const QDateTime later = at(Day, 14, 0);
    switch (write) {
    case Rate:
        QCOMPARE(m_rows->writeRateRow(later, u"MNB"_s, u"USD"_s, 0.95, 0.95, 0.95), outcome);
        break;
    case Cross:
        QCOMPARE(m_rows->writeCrossRow(later, u"MNB"_s, u"USD"_s, u"EUR"_s, 0.95), outcome);
        break;
    case Reversed:
        QCOMPARE(m_rows->writeReversedRow(later, u"MNB"_s, u"USD"_s, 0.95), outcome);
        break;
    }
    m_connection->commit();
    QCOMPARE(m_db->rows(u"SELECT COUNT(*) FROM ARFOLYAM"_s),
             QList<QStringList>{{outcome == RowOutcome::Added ? u"2"_s : u"1"_s}});
}

// A history run's row: at the day's midnight, replaced by its key, with no
// look at the day's other rows.
void TestRateRows::dayRateRowIsKeyedByMidnight()
{
    m_connection->begin();
    insert(at(Day, 10, 15), u"MNB"_s, u"EUR"_s, u"HUF"_s, 385.1, 385.1, 385.1);
    m_connection->commit();
    const auto write = [&](double middle) {
        return committed(
            [&](RateRows &rows) { return rows.writeDayRateRow(Day, u"MNB"_s, u"EUR"_s, middle, middle, middle); });
    };
    const QStringList morning = row(at(Day, 10, 15), u"MNB"_s, u"EUR"_s, u"HUF"_s, 385.1, 385.1, 385.1);

    QCOMPARE(write(385.1), RowOutcome::Added);
    QCOMPARE(m_db->rows(AllRows),
             (QList<QStringList>{row(at(Day, 0, 0), u"MNB"_s, u"EUR"_s, u"HUF"_s, 385.1, 385.1, 385.1), morning}));
    QCOMPARE(write(386.25), RowOutcome::Replaced);
    QCOMPARE(m_db->rows(AllRows),
             (QList<QStringList>{row(at(Day, 0, 0), u"MNB"_s, u"EUR"_s, u"HUF"_s, 386.25, 386.25, 386.25), morning}));
}

void TestRateRows::undatedRowsAreRemoved()
{
    const QDate zero(1899, 12, 30);
    const QList<QDateTime> kept{at(zero, 0, 0, 0, 1), at(zero, 12, 0), at(zero.addDays(1), 0, 0),
                                at(zero.addDays(3), 0, 0), at(Day, 0, 0)};
    m_connection->begin();
    for (const QString &bank : {u"MNB"_s, u"OTP"_s, u"SAJAT"_s}) {
        insert(at(zero, 0, 0), bank, u"EUR"_s, u"HUF"_s, 1, 1, 1);
        insert(at(zero, 0, 0), bank, u"HUF"_s, u"EUR"_s, 1, 1, 1);
    }
    for (const QDateTime &dat : kept)
        insert(dat, u"MNB"_s, u"EUR"_s, u"HUF"_s, 1, 1, 1);
    m_rows->deleteUndatedRows();
    m_connection->commit();
    QList<QStringList> remaining;
    for (const QDateTime &dat : kept)
        remaining << QStringList{text(dat)};
    QCOMPARE(m_db->rows(u"SELECT DAT FROM ARFOLYAM ORDER BY DAT"_s), remaining);
}

void TestRateRows::timestampsKeepTheirMilliseconds_data()
{
    QTest::addColumn<QDateTime>("dat");

    QTest::newRow("OTP's 10:15") << at(Day, 10, 15);
    QTest::newRow("last millisecond") << at(Day, 23, 59, 59, 999);
    QTest::newRow("first millisecond") << at(Day, 0, 0, 0, 1);
    QTest::newRow("odd milliseconds") << at(Day, 13, 45, 12, 345);
    QTest::newRow("date-time zero") << at(QDate(1899, 12, 30), 0, 0);
}

void TestRateRows::timestampsKeepTheirMilliseconds()
{
    QFETCH(QDateTime, dat);

    QCOMPARE(committed([&](RateRows &rows) { return rows.writeRateRow(dat, u"OTP"_s, u"EUR"_s, 1, 2, 3); }),
             RowOutcome::Added);
    QCOMPARE(committed([&](RateRows &rows) { return rows.writeCrossRow(dat, u"OTP"_s, u"USD"_s, u"EUR"_s, 4); }),
             RowOutcome::Added);
    QCOMPARE(committed([&](RateRows &rows) { return rows.writeReversedRow(dat, u"OTP"_s, u"EUR"_s, 5); }),
             RowOutcome::Added);
    const QList<QStringList> three{{text(dat)}, {text(dat)}, {text(dat)}};
    QCOMPARE(m_db->rows(u"SELECT DAT FROM ARFOLYAM"_s), three);
    // And the key finds them again: the same write replaces each.
    QCOMPARE(committed([&](RateRows &rows) { return rows.writeRateRow(dat, u"OTP"_s, u"EUR"_s, 1, 2, 3); }),
             RowOutcome::Replaced);
    QCOMPARE(m_db->rows(u"SELECT COUNT(*) FROM ARFOLYAM"_s), QList<QStringList>{{u"3"_s}});
}

// The day's rows are looked up as the half-open range of the day's
// timestamps, so that the key index serves it. The range finds exactly the
// rows whose calendar day it is: every probe of the program's look-up gives
// what CAST(DAT AS DATE) gives.
void TestRateRows::dayLookupIsTheCalendarDay()
{
    struct Rates {
        double sale, buy, middle;
    };
    const QList<Rates> rates{{395.5, 375.25, 385.1}, {1.0 / 3, 2.0 / 3, 0.5}, {396, 376, 386}};
    const QStringList banks{u"MNB"_s, u"OTP"_s};
    const QStringList codes{u"EUR"_s, u"USD"_s};
    // Every key has rows at the edges of three days. A row at midnight has
    // the rates of the row a millisecond before it, so that a day taken a
    // moment too wide or too narrow counts another number of rows. Programs
    // of the suite store tenths of a millisecond: 23:59:59.9999 too.
    const QList<QDate> days{Day.addDays(-1), Day, Day.addDays(1)};
    m_connection->begin();
    for (int b = 0; b < banks.size(); ++b) {
        for (int c = 0; c < codes.size(); ++c) {
            for (int d = 0; d < days.size(); ++d) {
                const auto put = [&](const QTime &time, int which) {
                    const Rates &r = rates[(which + b + c) % rates.size()];
                    insert(QDateTime(days[d], time), banks[b], codes[c], u"HUF"_s, r.sale, r.buy, r.middle);
                };
                put(QTime(0, 0), d + 2);
                put(QTime(12, 0), d + 1);
                put(QTime(23, 59, 59, 999), d);
            }
        }
    }
    m_connection->commit();
    m_db->execute({u"INSERT INTO ARFOLYAM (DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP) "
                   "VALUES ('2026-03-05 23:59:59.9999', 'MNB', 'EUR', 'HUF', 396, 376, 386)"_s,
                   u"INSERT INTO ARFOLYAM (DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP) "
                   "VALUES ('2026-03-04 23:59:59.9999', 'OTP', 'USD', 'HUF', 396, 376, 386)"_s});

    const QString condition = u"BANK = :bank AND DKOD = :dev AND DKKOD = 'HUF' AND ELAD = :sale AND VESZ = :buy AND "
                              "KOZEP = :middle"_s;
    const QString calendarDay = u"SELECT COUNT(*) FROM ARFOLYAM WHERE CAST(DAT AS DATE) = :dat AND "_s + condition;
    const QString range = u"SELECT COUNT(*) FROM ARFOLYAM WHERE DAT >= :day AND DAT < :nextDay AND "_s + condition;
    QSet<int> counts;
    for (const QDate &day : {Day.addDays(-2), Day.addDays(-1), Day, Day.addDays(1), Day.addDays(2)}) {
        for (const QString &bank : banks) {
            for (const QString &code : codes) {
                for (const Rates &r : rates) {
                    const QString probe = u"%1 %2 %3 %4"_s.arg(day.toString(Qt::ISODate), bank, code).arg(r.middle);
                    const auto bind = [&](QSqlQuery &query) {
                        query.bindValue(u":bank"_s, bank);
                        query.bindValue(u":dev"_s, code);
                        query.bindValue(u":sale"_s, r.sale);
                        query.bindValue(u":buy"_s, r.buy);
                        query.bindValue(u":middle"_s, r.middle);
                    };
                    m_connection->begin();
                    QSqlQuery &byCast = m_connection->statement(calendarDay);
                    bind(byCast);
                    byCast.bindValue(u":dat"_s, QDateTime(day, QTime(0, 0)));
                    const int expected = m_connection->rows(byCast).value(0).value(0).toInt();
                    QSqlQuery &byRange = m_connection->statement(range);
                    bind(byRange);
                    byRange.bindValue(u":day"_s, QDateTime(day, QTime(0, 0)));
                    byRange.bindValue(u":nextDay"_s, QDateTime(day.addDays(1), QTime(0, 0)));
                    QVERIFY2(m_connection->rows(byRange).value(0).value(0).toInt() == expected, qPrintable(probe));
                    // The program's own look-up, at a time of day no row has:
                    // the row is kept exactly when the day holds one.
                    const RowOutcome outcome =
                        m_rows->writeRateRow(QDateTime(day, QTime(6, 7, 8, 9)), bank, code, r.sale, r.buy, r.middle);
                    QVERIFY2(outcome == (expected > 0 ? RowOutcome::Kept : RowOutcome::Added), qPrintable(probe));
                    m_connection->rollback();
                    counts << expected;
                }
            }
        }
    }
    // The probes missed days, hit one row, and hit two (one of them at 23:59:59.9999).
    QCOMPARE(counts, (QSet<int>{0, 1, 2}));
}

void TestRateRows::keysAreDataNeverSql_data()
{
    QTest::addColumn<QString>("bank");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("book");

    QTest::newRow("quotes") << u"O'B"_s << u"E'R"_s << u"'--"_s;
    QTest::newRow("accents") << u"ŐRZŐ"_s << u"ÁÉŰ"_s << u"ŐÜÓ"_s;
    QTest::newRow("euro sign") << u"€BANK"_s << u"€UR"_s << u"€"_s;
    QTest::newRow("statement end and comment") << u"X'; --"_s << u";--"_s << u"');"_s;
    QTest::newRow("parameter-like") << u":bank"_s << u":dev"_s << u":book"_s;
}

// Every key column is bound: a text that would end or comment out a
// statement lands in its column unchanged, and finds its own row again.
void TestRateRows::keysAreDataNeverSql()
{
    QFETCH(QString, bank);
    QFETCH(QString, code);
    QFETCH(QString, book);

    const QDateTime dat = at(Day, 10, 15);
    const auto writeAll = [&](const QDateTime &when) {
        return QList<RowOutcome>{
            committed([&](RateRows &rows) { return rows.writeRateRow(when, bank, code, 3, 2, 2.5); }),
            committed([&](RateRows &rows) { return rows.writeCrossRow(when, bank, code, book, 0.5); }),
            committed([&](RateRows &rows) { return rows.writeReversedRow(when, bank, code, 0.4); }),
        };
    };
    QCOMPARE(writeAll(dat), (QList<RowOutcome>{RowOutcome::Added, RowOutcome::Added, RowOutcome::Added}));
    QCOMPARE(committed([&](RateRows &rows) { return rows.writeDayRateRow(Day.addDays(1), bank, code, 3, 2, 2.5); }),
             RowOutcome::Added);
    const QList<QStringList> expected{
        row(dat, bank, u"HUF"_s, code, 0.4, 0.4, 0.4),
        row(dat, bank, code, book, 0.5, 0.5, 0.5),
        row(dat, bank, code, u"HUF"_s, 3, 2, 2.5),
        row(at(Day.addDays(1), 0, 0), bank, code, u"HUF"_s, 3, 2, 2.5),
    };
    QCOMPARE(m_db->rows(u"SELECT DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP FROM ARFOLYAM "
                        "ORDER BY DAT, DKKOD = 'HUF', DKOD = 'HUF' DESC"_s),
             expected);
    QCOMPARE(writeAll(dat), (QList<RowOutcome>{RowOutcome::Replaced, RowOutcome::Replaced, RowOutcome::Replaced}));
    QCOMPARE(writeAll(at(Day, 14, 0)), (QList<RowOutcome>{RowOutcome::Kept, RowOutcome::Kept, RowOutcome::Kept}));
    QCOMPARE(m_db->rows(u"SELECT COUNT(*) FROM ARFOLYAM"_s), QList<QStringList>{{u"4"_s}});
}

QTEST_GUILESS_MAIN(TestRateRows)
#include "TestRateRows.moc"
