#include "FaultHarness.h"
#include "export/SuiteConnection.h"
#include "fakes/RecordingView.h"
#include "run/ImportFixture.h"
#include "run/RateImport.h"

#include <QTest>

#include <condition_variable>
#include <future>
#include <mutex>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// Ten currencies on thirty weekdays without a holiday (the date rule keeps
// each day): three batches of a hundred entries, committed after entries 0,
// 100 and 200, and once more at the end.
const QStringList Codes = {u"EUR"_s, u"USD"_s, u"GBP"_s, u"CHF"_s, u"JPY"_s,
                           u"CZK"_s, u"PLN"_s, u"SEK"_s, u"NOK"_s, u"DKK"_s};
const QDate Newest(2025, 10, 20);
constexpr int Days = 30;
// The server dies inside the second batch: entries 0 to 100 are committed.
constexpr int KillAfter = 150;
constexpr int LastCommitted = 100;
// Before the next commit the writer waits for the kill to have happened.
constexpr int WaitAt = 190;
constexpr double OldRate = 1;

// A view that tells the test when the import is half way, and holds the
// writer before its next batch commit until the server is dead.
class KillingView : public RecordingView {
public:
    void advanceProgress() override
    {
        RecordingView::advanceProgress();
        ++m_advanced;
        std::unique_lock lock(m_mutex);
        if (m_advanced == KillAfter) {
            m_reached = true;
            m_changed.notify_all();
        } else if (m_advanced == WaitAt) {
            m_changed.wait_for(lock, 60s, [this] { return m_killed; });
        }
    }

    bool waitUntilReached(std::chrono::milliseconds deadline)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, deadline, [this] { return m_reached; });
    }

    void killed()
    {
        const std::lock_guard lock(m_mutex);
        m_killed = true;
        m_changed.notify_all();
    }

private:
    int m_advanced = 0;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_reached = false;
    bool m_killed = false;
};

RunChoices historyChoices()
{
    RunChoices choices = centralBankChoices();
    choices.history = true;
    return choices;
}

QList<QStringList> sortedRows(SuiteUser &user)
{
    QList<QStringList> rows = user.rows(u"SELECT DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP FROM ARFOLYAM"_s);
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace

// A history import through a Firebird server that is killed (SIGKILL) in
// the middle of it, and started again on the same files.
class TestServerKilled : public QObject {
    Q_OBJECT

private slots:
    void historyImportSurvivesAKilledServer();
};

void TestServerKilled::historyImportSurvivesAKilledServer()
{
    PrivateFirebirdServer firebird;
    // A database file of its own, never opened embedded: only the private
    // server reaches it. Forced writes on, as a company's database has them.
    const SuiteDatabase file;
    runFirebirdTool(u"gfix"_s, {u"-write"_s, u"sync"_s, u"-user"_s, u"SYSDBA"_s, file.path()});

    const QList<HistoryEntry> entries = historyEntries(Codes, Newest, Days);
    QCOMPARE(entries.size(), 300);
    QStringList setUp{u"INSERT INTO VHELY (KOD, NEV) VALUES ('MNB', 'Magyar Nemzeti Bank')"_s,
                      u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('HUF', 'forint', 2)"_s,
                      u"INSERT INTO CNFKOZOS (KONYVDEV) VALUES ('HUF')"_s};
    // Every seventh key holds an earlier row: in the committed batch and after it.
    QList<int> prefilled;
    for (int i = 3; i < entries.size(); i += 7) {
        prefilled << i;
        setUp << rateRowInsert(historyRow(entries[i], OldRate));
    }
    {
        SuiteUser user(file.path(), firebird.server());
        user.execute(setUp);
    }

    FilledSession source;
    for (const HistoryEntry &entry : entries)
        source.centralBank(entry.code, entry.day, entry.middle);
    const auto settings = [&] {
        return ConnectionSettings{u"%1/%2"_s.arg(firebird.server().host).arg(firebird.server().port), file.path(),
                                  u"SYSDBA"_s, firebird.server().password};
    };

    KillingView view;
    const ConnectionSettings first = settings();
    auto import = std::async(std::launch::async,
                             [&] { return writeHistoricalRates(historyChoices(), view, source.session(), first); });
    const bool reached = view.waitUntilReached(120s);
    // Whatever happened, the writer is let go and the server dies.
    firebird.kill();
    view.killed();
    QVERIFY2(reached, "the import did not get half way");
    QCOMPARE(import.wait_for(60s), std::future_status::ready);
    const ImportResult result = import.get();

    // An error, not success; only the committed batches count as written.
    QVERIFY(!result.succeeded);
    QCOMPARE(view.errors.size(), 1);
    QVERIFY2(!view.errors[0].isEmpty(), "the error has no words");
    QVERIFY(view.errorPageShown());
    QCOMPARE(result.written, LastCommitted + 1);

    firebird.start();
    // The committed batch holds the new rows, the rest of the keys their old
    // ones: no key lost, none twice.
    QList<QStringList> expected;
    for (int i = 0; i <= LastCommitted; ++i)
        expected << historyRow(entries[i], entries[i].middle);
    for (int i : std::as_const(prefilled)) {
        if (i > LastCommitted)
            expected << historyRow(entries[i], OldRate);
    }
    {
        SuiteUser user(file.path(), firebird.server());
        QCOMPARE(sortedRows(user), sorted(expected));
    }

    // A second run completes the import.
    RecordingView again;
    const ImportResult second = writeHistoricalRates(historyChoices(), again, source.session(), settings());
    QVERIFY2(second.succeeded, qPrintable(again.errors.join(u'\n')));
    QCOMPARE(second.written, int(entries.size()));
    const auto replacedLater =
        std::count_if(prefilled.begin(), prefilled.end(), [](int i) { return i > LastCommitted; });
    QCOMPARE(second.replaced, LastCommitted + 1 + int(replacedLater));
    expected.clear();
    for (const HistoryEntry &entry : entries)
        expected << historyRow(entry, entry.middle);
    SuiteUser user(file.path(), firebird.server());
    QCOMPARE(sortedRows(user), sorted(expected));
}

QTEST_GUILESS_MAIN(TestServerKilled)
#include "TestServerKilled.moc"
