#include "fakes/RecordingView.h"
#include "fakes/SuiteDatabase.h"
#include "run/ImportFixture.h"
#include "run/RateImport.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Tuesday to Thursday of an ordinary week.
const QDate Tuesday(2024, 1, 2);
const QDate Wednesday(2024, 1, 3);
const QDate Thursday(2024, 1, 4);

const QString UndatedMessage = u"A következő devizák árfolyamának dátuma ismeretlen vagy nem a mai nap, ezért nem "
                               "kerültek az adatbázisba: "_s;

RunChoices historyChoices()
{
    RunChoices choices = centralBankChoices();
    choices.history = true;
    return choices;
}

ImportResult write(const RunChoices &choices, RecordingView &view, const FilledSession &source, const SuiteDatabase &db)
{
    return writeHistoricalRates(choices, view, source.session(), settingsOf(db));
}

// What the view is shown up to the closing step: the progress bar over the
// entries, one step each.
QStringList stepsWithProgress(int entries, int advanced)
{
    QStringList calls{u"active 1"_s, u"done 1"_s, u"active 2"_s, u"done 2"_s,
                      u"active 3"_s, u"done 3"_s, u"active 4"_s, u"progress %1"_s.arg(entries)};
    for (int i = 0; i < advanced; ++i)
        calls << u"advance"_s;
    return calls << u"done 4"_s << u"active 5"_s;
}

QStringList dayRates(const QDate &day, const QString &code, const QString &priced, double rate,
                     const QString &bank = u"MNB"_s)
{
    return rateRow(stamp(day), bank, code, priced, rate, rate, rate);
}

QStringList codesIn(const SuiteDatabase &db)
{
    QStringList codes;
    for (const QStringList &row : db.rows(u"SELECT DKOD FROM ARFOLYAM"_s))
        codes << row[0];
    codes.sort();
    return codes;
}

} // namespace

class TestHistoryImport : public QObject {
    Q_OBJECT

private slots:
    void writesEveryEntry();
    void batchCommits_data();
    void batchCommits();
    void dayOffsetOverAWeek_data();
    void dayOffsetOverAWeek();
    void crossAndReversedPerDay_data();
    void crossAndReversedPerDay();
    void emptyListStillCleansUp_data();
    void emptyListStillCleansUp();
    void secondRunAddsNoRow();
    void undatedEntryIsReported();
    void failedConnection();
};

// No tick and no look at the suite's currencies: every entry with its rates
// is written, keyed by its day's midnight.
void TestHistoryImport::writesEveryEntry()
{
    const SuiteDatabase db;
    const QStringList other = rateRow(stamp(Tuesday), u"OTP"_s, u"EUR"_s, u"HUF"_s, 401, 399, 400);
    db.execute({rateRowInsert(other),
                rateRowInsert(rateRow(u"1899-12-30 00:00:00.000"_s, u"OTP"_s, u"GBP"_s, u"HUF"_s, 1, 1, 1))});
    FilledSession source;
    source.centralBank(u"EUR"_s, DateTime::fromDateTime(QDateTime(Wednesday, QTime(12, 0))), 410)
        .centralBank(u"USD"_s, Wednesday, 0)
        .centralBank(u"EUR"_s, Tuesday, 400)
        .centralBank(u"USD"_s, Tuesday, 380, 379, 381);

    RecordingView view;
    const ImportResult result = write(historyChoices(), view, source, db);
    QCOMPARE(rateRows(db),
             sorted({other, dayRates(Wednesday, u"EUR"_s, u"HUF"_s, 410), dayRates(Tuesday, u"EUR"_s, u"HUF"_s, 400),
                     rateRow(stamp(Tuesday), u"MNB"_s, u"USD"_s, u"HUF"_s, 381, 379, 380)}));
    // Only forint is created, and only the central bank's row.
    QCOMPARE(db.rows(u"SELECT KOD, NEV, TIZ FROM DEVIZA"_s),
             (QList<QStringList>{{u"HUF"_s, u"Magyar forint"_s, u"2"_s}}));
    QCOMPARE(db.rows(u"SELECT KOD, NEV FROM VHELY"_s), (QList<QStringList>{{u"MNB"_s, u"Magyar Nemzeti Bank"_s}}));
    QVERIFY(result.succeeded);
    QCOMPARE(result.written, 3);
    QCOMPARE(result.skipped, 1);
    QCOMPARE(view.calls, stepsWithProgress(4, 4));
}

void TestHistoryImport::batchCommits_data()
{
    QTest::addColumn<int>("failAt");
    QTest::addColumn<int>("committed");

    QTest::newRow("no failure") << -1 << 250;
    QTest::newRow("the first entry fails") << 0 << 0;
    QTest::newRow("after the first commit") << 50 << 1;
    QTest::newRow("after the second commit") << 150 << 101;
    QTest::newRow("after the third commit") << 230 << 201;
}

// 250 entries are committed after positions 0, 100 and 200: a failure
// keeps what the last of those commits held and rolls back the rest.
void TestHistoryImport::batchCommits()
{
    QFETCH(int, failAt);
    QFETCH(int, committed);

    const SuiteDatabase db;
    narrowRateCodes(db);
    FilledSession source;
    QStringList codes;
    for (int i = 0; i < 250; ++i) {
        // Too long for the narrowed table.
        const QString code =
            i == failAt ? u"HIBA"_s : u"C"_s + QString::number(i, 36).toUpper().rightJustified(2, u'0');
        source.centralBank(code, Tuesday, 100 + i);
        codes << code;
    }

    RecordingView view;
    const ImportResult result = write(historyChoices(), view, source, db);
    QStringList kept = codes.mid(0, committed);
    kept.sort();
    QCOMPARE(codesIn(db), kept);
    QCOMPARE(result.written, committed);
    if (failAt < 0) {
        QVERIFY(result.succeeded);
        QCOMPARE(view.calls, stepsWithProgress(250, 250));
        return;
    }
    QVERIFY(!result.succeeded);
    QCOMPARE(view.errors.size(), 1);
    QVERIFY2(view.errors[0].contains(u"string right truncation"_s), qPrintable(view.errors[0]));
    // The bar stops at the failing entry; the error follows the closing
    // step's markers.
    QCOMPARE(view.calls, withError(stepsWithProgress(250, failAt), view.errors[0]));
}

void TestHistoryImport::dayOffsetOverAWeek_data()
{
    QTest::addColumn<int>("datumIndex");
    QTest::addColumn<bool>("newestFirst");
    QTest::addColumn<QList<QStringList>>("rows");

    // Monday 18 to Friday 22 December 2023 at 390 to 394; Christmas follows.
    const auto on = [](int day, double middle) { return dayRates(QDate(2023, 12, day), u"EUR"_s, u"HUF"_s, middle); };
    const QList<QStringList> nextDays{on(19, 390), on(20, 391), on(21, 392), on(22, 393), on(27, 394)};
    QTest::newRow("T+1") << 3 << true << nextDays;
    QTest::newRow("T+1, oldest first") << 3 << false << nextDays;
    // Monday's and Tuesday's rates both go to Monday: the later entry stands.
    QTest::newRow("T-1") << 1 << true << QList<QStringList>{on(18, 390), on(19, 392), on(20, 393), on(21, 394)};
    QTest::newRow("T-1, oldest first") << 1 << false
                                       << QList<QStringList>{on(18, 391), on(19, 392), on(20, 393), on(21, 394)};
    QTest::newRow("T+2, Thursday's and Friday's past Christmas")
        << 4 << true << QList<QStringList>{on(20, 390), on(21, 391), on(22, 392), on(27, 393)};
}

void TestHistoryImport::dayOffsetOverAWeek()
{
    QFETCH(int, datumIndex);
    QFETCH(bool, newestFirst);
    QFETCH(QList<QStringList>, rows);

    const SuiteDatabase db;
    FilledSession source;
    for (int i = 0; i < 5; ++i) {
        const int day = newestFirst ? 4 - i : i;
        source.centralBank(u"EUR"_s, QDate(2023, 12, 18 + day), 390 + day);
    }
    RunChoices choices = historyChoices();
    choices.datumIndex = datumIndex;
    RecordingView view;
    const ImportResult result = write(choices, view, source, db);
    QVERIFY(result.succeeded);
    QCOMPARE(rateRows(db), rows);
    QCOMPARE(result.written - result.replaced, rows.size());
}

void TestHistoryImport::crossAndReversedPerDay_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("suiteCode");
    QTest::addColumn<QString>("bankCode");

    QTest::newRow("the item's code") << CentralBankItem << QString() << u"MNB"_s;
    QTest::newRow("the item's first five characters") << u"KONYVELO - Könyvelő bank"_s << QString() << u"KONYV"_s;
    QTest::newRow("the runner's code") << CentralBankItem << u"KONYVELO"_s << u"KONYVELO"_s;
}

// Each day's cross rows from that day's EUR middle, none on a day without
// it; reversed rows for EUR, the book currency, too.
void TestHistoryImport::crossAndReversedPerDay()
{
    QFETCH(QString, item);
    QFETCH(QString, suiteCode);
    QFETCH(QString, bankCode);

    const SuiteDatabase db;
    db.execute({u"INSERT INTO CNFKOZOS (KONYVDEV) VALUES ('EUR')"_s});
    FilledSession source;
    source.centralBank(u"USD"_s, Thursday, 385)
        .centralBank(u"EUR"_s, Wednesday, 410)
        .centralBank(u"USD"_s, Wednesday, 390)
        .centralBank(u"USD"_s, Tuesday, 380)
        .centralBank(u"EUR"_s, Tuesday, 400);
    RunChoices choices = historyChoices();
    choices.suiteBankItem = item;
    choices.suiteCode = suiteCode;
    choices.createCrossRates = true;
    choices.createReversedRates = true;

    RecordingView view;
    const ImportResult result = write(choices, view, source, db);
    QVERIFY(result.succeeded);
    const auto at = [&](const QDate &day, const QString &code, const QString &priced, double rate) {
        return dayRates(day, code, priced, rate, bankCode);
    };
    const QList<QStringList> rows{
        at(Tuesday, u"EUR"_s, u"HUF"_s, 400),         at(Tuesday, u"USD"_s, u"HUF"_s, 380),
        at(Tuesday, u"USD"_s, u"EUR"_s, 380.0 / 400), at(Tuesday, u"HUF"_s, u"EUR"_s, 1.0 / 400),
        at(Tuesday, u"HUF"_s, u"USD"_s, 1.0 / 380),   at(Wednesday, u"EUR"_s, u"HUF"_s, 410),
        at(Wednesday, u"USD"_s, u"HUF"_s, 390),       at(Wednesday, u"USD"_s, u"EUR"_s, 390.0 / 410),
        at(Wednesday, u"HUF"_s, u"EUR"_s, 1.0 / 410), at(Wednesday, u"HUF"_s, u"USD"_s, 1.0 / 390),
        at(Thursday, u"USD"_s, u"HUF"_s, 385),        at(Thursday, u"HUF"_s, u"USD"_s, 1.0 / 385)};
    QCOMPARE(rateRows(db), sorted(rows));
    QCOMPARE(result.written, rows.size());
    QCOMPARE(db.rows(u"SELECT KOD FROM VHELY"_s), QList<QStringList>{{u"MNB"_s}});
}

void TestHistoryImport::emptyListStillCleansUp_data()
{
    QTest::addColumn<bool>("fetched");
    QTest::newRow("an empty list") << true;
    QTest::newRow("no list") << false;
}

void TestHistoryImport::emptyListStillCleansUp()
{
    QFETCH(bool, fetched);

    const SuiteDatabase db;
    const QStringList other = dayRates(Tuesday, u"EUR"_s, u"HUF"_s, 400);
    db.execute({rateRowInsert(other),
                rateRowInsert(rateRow(u"1899-12-30 00:00:00.000"_s, u"OTP"_s, u"GBP"_s, u"HUF"_s, 1, 1, 1))});
    FilledSession source;
    if (!fetched)
        source.withoutCentralBankList();

    RecordingView view;
    const ImportResult result = write(historyChoices(), view, source, db);
    QVERIFY(result.succeeded);
    QCOMPARE(result.written, 0);
    QCOMPARE(rateRows(db), QList<QStringList>{other});
    QCOMPARE(db.rows(u"SELECT KOD FROM VHELY"_s), QList<QStringList>{{u"MNB"_s}});
    QCOMPARE(db.rows(u"SELECT KOD FROM DEVIZA"_s), QList<QStringList>{{u"HUF"_s}});
    QCOMPARE(view.calls, stepsWithProgress(0, 0));
}

void TestHistoryImport::secondRunAddsNoRow()
{
    const SuiteDatabase db;
    db.execute({u"INSERT INTO CNFKOZOS (KONYVDEV) VALUES ('EUR')"_s});
    FilledSession source;
    source.centralBank(u"EUR"_s, Wednesday, 410)
        .centralBank(u"USD"_s, Wednesday, 390)
        .centralBank(u"EUR"_s, Tuesday, 400)
        .centralBank(u"USD"_s, Tuesday, 380);
    RunChoices choices = historyChoices();
    choices.createCrossRates = true;
    choices.createReversedRates = true;

    RecordingView firstView;
    const ImportResult first = write(choices, firstView, source, db);
    QVERIFY(first.succeeded);
    QCOMPARE(first.written, 10);
    const QList<QStringList> rows = rateRows(db);

    RecordingView secondView;
    const ImportResult second = write(choices, secondView, source, db);
    QVERIFY(second.succeeded);
    QCOMPARE(rateRows(db), rows);
    QCOMPARE(second.written, first.written);
    QCOMPARE(second.replaced, second.written);
}

// An unreadable day is not written; it still moves the bar, and the run
// does not end as a success.
void TestHistoryImport::undatedEntryIsReported()
{
    const SuiteDatabase db;
    FilledSession source;
    source.centralBank(u"EUR"_s, Tuesday, 400).centralBank(u"USD"_s, DateTime(), 380);
    RunChoices choices = historyChoices();
    choices.createReversedRates = true;

    RecordingView view;
    const ImportResult result = write(choices, view, source, db);
    QCOMPARE(rateRows(db),
             sorted({dayRates(Tuesday, u"EUR"_s, u"HUF"_s, 400), dayRates(Tuesday, u"HUF"_s, u"EUR"_s, 1.0 / 400)}));
    const QString message = UndatedMessage + u"USD"_s;
    QCOMPARE(view.calls, withError(stepsWithProgress(2, 2), message));
    QVERIFY(!result.succeeded);
    QCOMPARE(result.written, 2);
    QCOMPARE(result.skipped, 1);
}

void TestHistoryImport::failedConnection()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(u"hianyzik.fdb"_s);
    FilledSession source;
    source.centralBank(u"EUR"_s, Tuesday, 400);
    RecordingView view;
    const ImportResult result = writeHistoricalRates(historyChoices(), view, source.session(),
                                                     ConnectionSettings{{}, path, u"SYSDBA"_s, u"x"_s});
    QVERIFY(!result.succeeded);
    QCOMPARE(view.errors.size(), 1);
    QVERIFY2(view.errors[0].startsWith(u"Hiba történt az adatbázishoz való csatlakozás közben!"_s),
             qPrintable(view.errors[0]));
    QCOMPARE(view.calls,
             (QStringList{u"active 1"_s, u"error "_s + view.errors[0], u"error page"_s, u"done 1"_s, u"active 2"_s}));
}

QTEST_GUILESS_MAIN(TestHistoryImport)
#include "TestHistoryImport.moc"
