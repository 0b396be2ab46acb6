#pragma once

#include <QString>

struct ConnectionSettings;
struct RateSession;
struct RunChoices;
class RunView;

// Writing the fetched rates into the suite's database while the
// DatabaseInsert page shows its five steps.

struct ImportResult {
    // False when an error was reported; the error page is showing then.
    bool succeeded = false;
    // Rows inserted, rate, cross and reversed rows alike.
    int written = 0;
    // Of those, rows that took the place of an earlier row of the same key.
    int replaced = 0;
    // Rows not added because their day already held the same rates.
    int kept = 0;
    // Currencies or entries that made no row: a rate of 0, or no date.
    int skipped = 0;
};

// The current rates of the chosen currencies, with cross and reversed rows
// when asked, under the run's bank code. A failing statement rolls back what
// the run wrote since its last commit: no row key is left deleted and not
// written again.
ImportResult writeCurrentRates(const RunChoices &choices, RunView &view, const RateSession &session,
                               const ConnectionSettings &settings);

// Every entry of a history run, committed a hundred at a time; a failure
// rolls back the entries since the last of those commits.
ImportResult writeHistoricalRates(const RunChoices &choices, RunView &view, const RateSession &session,
                                  const ConnectionSettings &settings);

// The bank code a run writes its rates under.
QString bankCodeOfRun(const RunChoices &choices);
