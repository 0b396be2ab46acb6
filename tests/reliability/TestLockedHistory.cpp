#include "FaultHarness.h"
#include "export/SuiteConnection.h"
#include "fakes/RecordingView.h"
#include "run/ImportFixture.h"
#include "run/RateImport.h"

#include <QTest>

#include <future>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

const QString LockedStart = u"Az árfolyamtábla egyik sorát egy másik felhasználó zárolja"_s;
const QStringList Codes = {u"EUR"_s, u"USD"_s, u"CHF"_s, u"GBP"_s, u"JPY"_s, u"PLN"_s};
// Forty weekdays without a holiday, so that the date rule keeps each day.
const QDate Newest(2025, 10, 20);
constexpr int Days = 40;
// The row the suite holds lies in the third batch: entries 0 to 200 are
// committed before the writer meets it.
constexpr int LockedEntry = 230;
constexpr int LastCommitted = 200;
constexpr double OldRate = 2;

RunChoices historyChoices()
{
    RunChoices choices = centralBankChoices();
    choices.history = true;
    return choices;
}

QList<QStringList> sortedRows(const SuiteDatabase &db)
{
    QList<QStringList> rows = db.rows(u"SELECT DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP FROM ARFOLYAM"_s);
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Another user adds, and commits, the row of a key that the writer reaches
// later in its batch: the writer's transaction does not see it, deletes
// nothing, and its insert meets that row.
class AddingView : public RecordingView {
public:
    AddingView(const SuiteDatabase &db, const QString &insert)
        : m_db(db)
        , m_insert(insert)
    {
    }

    void advanceProgress() override
    {
        RecordingView::advanceProgress();
        // On the writer's thread: a connection of its own, opened and closed here.
        if (++m_advanced == AddAfter)
            SuiteUser(m_db.path(), std::nullopt).execute({m_insert});
    }

    static constexpr int AddAfter = 150;

private:
    const SuiteDatabase &m_db;
    QString m_insert;
    int m_advanced = 0;
};

// The writer on a thread of its own, with a lock time-out of a second; a
// writer that still waits after the deadline ends the process.
ImportResult importWithin(RecordingView &view, const FilledSession &source, const SuiteDatabase &db)
{
    ConnectionSettings settings = settingsOf(db);
    settings.lockTimeout = 1s;
    auto import = std::async(std::launch::async,
                             [&] { return writeHistoricalRates(historyChoices(), view, source.session(), settings); });
    if (import.wait_for(60s) != std::future_status::ready)
        qFatal("TestLockedHistory: the history import was still waiting after 60 s.");
    return import.get();
}

} // namespace

// A history import meets a rate row that another user of the suite holds
// locked with a change not yet committed.
class TestLockedHistory : public QObject {
    Q_OBJECT

private slots:
    void lockedRowEndsTheRunCleanly();
    void rowAddedMeanwhileEndsTheRunCleanly();
};

void TestLockedHistory::lockedRowEndsTheRunCleanly()
{
    const SuiteDatabase db;
    const QList<HistoryEntry> entries = historyEntries(Codes, Newest, Days);
    QStringList setUp{u"INSERT INTO VHELY (KOD, NEV) VALUES ('MNB', 'Magyar Nemzeti Bank')"_s,
                      u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('HUF', 'forint', 2)"_s};
    QList<int> prefilled;
    for (int i = 5; i < entries.size(); i += 11)
        prefilled << i;
    prefilled << LockedEntry;
    for (int i : std::as_const(prefilled))
        setUp << rateRowInsert(historyRow(entries[i], OldRate));
    db.execute(setUp);

    FilledSession source;
    for (const HistoryEntry &entry : entries)
        source.centralBank(entry.code, entry.day, entry.middle);

    const HistoryEntry &locked = entries[LockedEntry];
    RecordingView view;
    ImportResult result;
    {
        // The suite's user is editing that row and has not saved it yet.
        SuiteUser suite(db.path(), std::nullopt);
        suite.hold(u"UPDATE ARFOLYAM SET KOZEP = 7 WHERE DKOD = '%1' AND DAT = '%2'"_s.arg(
            locked.code, locked.day.toString(u"yyyy-MM-dd"_s)));
        result = importWithin(view, source, db);
        suite.release();
    }

    QVERIFY(!result.succeeded);
    QCOMPARE(view.errors.size(), 1);
    QVERIFY2(view.errors[0].startsWith(LockedStart), qPrintable(view.errors[0]));
    QVERIFY(view.errorPageShown());
    QCOMPARE(result.written, LastCommitted + 1);
    // The batches before the locked row hold the new rows; every other key
    // its old row, the locked one untouched; none twice.
    QList<QStringList> expected;
    for (int i = 0; i <= LastCommitted; ++i)
        expected << historyRow(entries[i], entries[i].middle);
    for (int i : std::as_const(prefilled)) {
        if (i > LastCommitted)
            expected << historyRow(entries[i], OldRate);
    }
    QCOMPARE(sortedRows(db), sorted(expected));

    // Once the user is done, the run completes.
    RecordingView again;
    const ImportResult second = importWithin(again, source, db);
    QVERIFY2(second.succeeded, qPrintable(again.errors.join(u'\n')));
    QCOMPARE(second.written, int(entries.size()));
    expected.clear();
    for (const HistoryEntry &entry : entries)
        expected << historyRow(entry, entry.middle);
    QCOMPARE(sortedRows(db), sorted(expected));
}

void TestLockedHistory::rowAddedMeanwhileEndsTheRunCleanly()
{
    const SuiteDatabase db;
    const QList<HistoryEntry> entries = historyEntries(Codes, Newest, Days);
    db.execute({u"INSERT INTO VHELY (KOD, NEV) VALUES ('MNB', 'Magyar Nemzeti Bank')"_s,
                u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('HUF', 'forint', 2)"_s});
    FilledSession source;
    for (const HistoryEntry &entry : entries)
        source.centralBank(entry.code, entry.day, entry.middle);
    // In the batch under way when it is added: entries 101 onwards.
    const QStringList added = historyRow(entries[170], 9);

    AddingView view(db, rateRowInsert(added));
    const ImportResult result = importWithin(view, source, db);
    QVERIFY(!result.succeeded);
    QCOMPARE(view.errors.size(), 1);
    // The other user's row, not a driver's message about a unique index.
    QVERIFY2(view.errors[0].startsWith(LockedStart), qPrintable(view.errors[0]));
    QCOMPARE(result.written, 101);
    QList<QStringList> expected{added};
    for (int i = 0; i <= 100; ++i)
        expected << historyRow(entries[i], entries[i].middle);
    QCOMPARE(sortedRows(db), sorted(expected));

    RecordingView again;
    const ImportResult second = importWithin(again, source, db);
    QVERIFY2(second.succeeded, qPrintable(again.errors.join(u'\n')));
    QCOMPARE(second.replaced, 102);
}

QTEST_GUILESS_MAIN(TestLockedHistory)
#include "TestLockedHistory.moc"
