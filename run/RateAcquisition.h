#pragma once

#include <QDate>
#include <QString>

class RateFetch;
class RunView;
struct RateSession;
struct RunChoices;

// Fetching the rates while the Connect page shows its five steps.

// Shown before the rate list when the bank's table is not of today.
inline const QString NotCurrentWarning =
    QStringLiteral("Lehetséges, hogy a bank honlapján található árfolyam-információk nem naprakészek. Kérem "
                   "ellenőrizze!");

// The chosen bank's current rates: fetched, checked and listed. False when
// an error was reported; the steps after a reported failure still run, but
// an error raised by the central bank stops the run at step 2.
bool acquireCurrentRates(const RunChoices &choices, RunView &view, RateSession &session, RateFetch &fetch,
                         const QDate &today);

// The central bank's rates of the history page's period and currencies,
// listed for review; nothing for another bank. False when an error was
// reported.
bool acquireRateHistory(const RunChoices &choices, RunView &view, RateSession &session, const QDate &today);
