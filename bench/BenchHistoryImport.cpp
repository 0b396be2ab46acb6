// A history import of one year of the central bank's 32 currencies, with
// cross and reversed rows, into a fresh embedded database; beside a bare loop
// that runs the same statements, prepared once, in one transaction.

#include "export/SuiteConnection.h"
#include "fakes/FakeMnbServer.h"
#include "fakes/RecordingView.h"
#include "fakes/SuiteDatabase.h"
#include "run/RateImport.h"
#include "run/RateSession.h"
#include "run/RunChoices.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <chrono>

using namespace Qt::StringLiterals;

namespace {

const QStringList SetUp = {
    u"INSERT INTO VHELY (KOD, NEV) VALUES ('MNB', 'Magyar Nemzeti Bank')"_s,
    u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('HUF', 'forint', 2)"_s,
    u"INSERT INTO CNFKOZOS (KONYVDEV) VALUES ('EUR')"_s,
};

// Newest day first, as the service answers.
CurrencyObjectList oneYear()
{
    CurrencyObjectList list;
    const QDate last(2026, 9, 18);
    for (QDate day = last; day > last.addYears(-1); day = day.addDays(-1)) {
        if (day.dayOfWeek() > 5)
            continue;
        for (const QString &code : FakeMnbServer::currencies()) {
            const double rate = FakeMnbServer::rate(code, day);
            CurrencyObject entry;
            entry.fillWithData(code, {}, u"MNB"_s, DateTime::fromDate(day), quint16(FakeMnbServer::unit(code)), rate,
                               rate, rate);
            list.addCurrency(entry);
        }
    }
    return list;
}

class QuietView : public RecordingView {
public:
    void processMessages() override {}
};

template<typename F>
double seconds(F &&work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void check(bool ok, const QSqlQuery &query)
{
    if (!ok)
        qFatal("bare loop: %s", qPrintable(query.lastError().text()));
}

// The writer's statements for every entry, with no steps, no watch and one
// commit at the end.
void bareLoop(const QString &path, const CurrencyObjectList &list)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QIBASE"_s, u"bare"_s);
    db.setDatabaseName(path);
    db.setUserName(u"SYSDBA"_s);
    db.setPassword(u"x"_s);
    if (!db.open() || !db.transaction())
        qFatal("bare loop: %s", qPrintable(db.lastError().text()));
    {
        const auto prepare = [&](const QString &sql) {
            QSqlQuery query(db);
            check(query.prepare(sql), query);
            return query;
        };
        QSqlQuery rateDelete =
            prepare(u"DELETE FROM ARFOLYAM WHERE DAT = ? AND BANK = ? AND DKOD = ? AND DKKOD = 'HUF'"_s);
        QSqlQuery rateInsert = prepare(u"INSERT INTO ARFOLYAM (DAT,BANK,DKOD,DKKOD,ELAD,VESZ,KOZEP) "
                                       "VALUES (?,?,?,'HUF',?,?,?)"_s);
        QSqlQuery crossDelete =
            prepare(u"DELETE FROM ARFOLYAM WHERE DAT = ? AND BANK = ? AND DKOD = ? AND DKKOD = ?"_s);
        QSqlQuery crossLookup = prepare(u"SELECT 1 FROM ARFOLYAM WHERE BANK = ? AND DKOD = ? AND DKKOD = ? AND "
                                        "DAT >= ? AND DAT < ? AND ELAD = ? AND VESZ = ? AND KOZEP = ? ROWS 1"_s);
        QSqlQuery crossInsert = prepare(u"INSERT INTO ARFOLYAM (DAT,BANK,DKOD,DKKOD,ELAD,VESZ,KOZEP) "
                                        "VALUES (?,?,?,?,?,?,?)"_s);
        QSqlQuery reversedDelete =
            prepare(u"DELETE FROM ARFOLYAM WHERE DAT = ? AND BANK = ? AND DKOD = 'HUF' AND DKKOD = ?"_s);
        QSqlQuery reversedLookup = prepare(u"SELECT 1 FROM ARFOLYAM WHERE BANK = ? AND DKOD = 'HUF' AND DKKOD = ? AND "
                                           "DAT >= ? AND DAT < ? AND ELAD = ? AND VESZ = ? AND KOZEP = ? ROWS 1"_s);
        QSqlQuery reversedInsert = prepare(u"INSERT INTO ARFOLYAM (DAT,BANK,DKOD,DKKOD,ELAD,VESZ,KOZEP) "
                                           "VALUES (?,?,'HUF',?,?,?,?)"_s);
        QHash<double, double> euro;
        for (int i = 0; i < list.listCount(); ++i) {
            const CurrencyObject *o = list.getCurrency(i);
            if (o->code() == u"EUR")
                euro.insert(o->day().value(), o->middle());
        }
        const QString bank = u"MNB"_s;
        for (int i = 0; i < list.listCount(); ++i) {
            const CurrencyObject *o = list.getCurrency(i);
            const QDateTime dat = o->day().toDateTime();
            const QDateTime next = dat.addDays(1);
            for (QSqlQuery *q : {&rateDelete, &rateInsert}) {
                q->bindValue(0, dat);
                q->bindValue(1, bank);
                q->bindValue(2, o->code());
            }
            check(rateDelete.exec(), rateDelete);
            rateInsert.bindValue(3, o->sell());
            rateInsert.bindValue(4, o->buy());
            rateInsert.bindValue(5, o->middle());
            check(rateInsert.exec(), rateInsert);
            if (o->code() != u"EUR") {
                const double cross = o->middle() / euro.value(o->day().value());
                crossDelete.bindValue(0, dat);
                crossDelete.bindValue(1, bank);
                crossDelete.bindValue(2, o->code());
                crossDelete.bindValue(3, u"EUR"_s);
                check(crossDelete.exec(), crossDelete);
                const QVariantList lookup = {bank, o->code(), u"EUR"_s, dat, next, cross, cross, cross};
                for (int p = 0; p < lookup.size(); ++p)
                    crossLookup.bindValue(p, lookup[p]);
                check(crossLookup.exec(), crossLookup);
                const bool found = crossLookup.next();
                crossLookup.finish();
                if (!found) {
                    const QVariantList row = {dat, bank, o->code(), u"EUR"_s, cross, cross, cross};
                    for (int p = 0; p < row.size(); ++p)
                        crossInsert.bindValue(p, row[p]);
                    check(crossInsert.exec(), crossInsert);
                }
            }
            const double reversed = 1 / o->middle();
            reversedDelete.bindValue(0, dat);
            reversedDelete.bindValue(1, bank);
            reversedDelete.bindValue(2, o->code());
            check(reversedDelete.exec(), reversedDelete);
            const QVariantList lookup = {bank, o->code(), dat, next, reversed, reversed, reversed};
            for (int p = 0; p < lookup.size(); ++p)
                reversedLookup.bindValue(p, lookup[p]);
            check(reversedLookup.exec(), reversedLookup);
            const bool found = reversedLookup.next();
            reversedLookup.finish();
            if (!found) {
                const QVariantList row = {dat, bank, o->code(), reversed, reversed, reversed};
                for (int p = 0; p < row.size(); ++p)
                    reversedInsert.bindValue(p, row[p]);
                check(reversedInsert.exec(), reversedInsert);
            }
        }
    }
    if (!db.commit())
        qFatal("bare loop: %s", qPrintable(db.lastError().text()));
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(u"bare"_s);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const CurrencyObjectList list = oneYear();
    const int entries = list.listCount();

    RunChoices choices;
    choices.bankIndex = 0;
    choices.history = true;
    choices.createCrossRates = true;
    choices.createReversedRates = true;
    choices.suiteBankItem = u"MNB   - Magyar Nemzeti Bank"_s;
    RateSession session({}, {}, {});
    session.currencyObjectList = &list;

    // Best of five rounds each, taking turns, on fresh databases.
    double writer = 1e9, bare = 1e9;
    int written = 0;
    for (int round = 0; round < 5; ++round) {
        {
            SuiteDatabase db;
            db.execute(SetUp);
            const ConnectionSettings settings{{}, db.path(), u"SYSDBA"_s, u"x"_s};
            QuietView view;
            writer = std::min(writer, seconds([&] {
                                  const ImportResult result = writeHistoricalRates(choices, view, session, settings);
                                  if (!result.succeeded)
                                      qFatal("the import failed: %s", qPrintable(view.errors.join(u'\n')));
                                  written = result.written;
                              }));
        }
        {
            SuiteDatabase db;
            db.execute(SetUp);
            bare = std::min(bare, seconds([&] { bareLoop(db.path(), list); }));
        }
    }
    out << "history import: " << entries << " entries, " << written << " rows (rate, cross and reversed)\n";
    out << QStringLiteral("writer:    %1 s, %2 entries/s\n").arg(writer, 0, 'f', 2).arg(entries / writer, 0, 'f', 0);
    out << QStringLiteral("bare loop: %1 s, %2 entries/s\n").arg(bare, 0, 'f', 2).arg(entries / bare, 0, 'f', 0);
    out << QStringLiteral("writer's rate: %1% of the bare loop's (goal: at least 80%)\n")
               .arg(100 * bare / writer, 0, 'f', 0);
    return 0;
}
