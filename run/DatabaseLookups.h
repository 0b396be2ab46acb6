#pragma once

#include <QStringList>
#include <optional>

struct ConnectionSettings;
class RunView;

// The two reads of the suite's database that fill the wizard's lists. A
// connection or statement failure is reported, the error page shown, and
// none returned.

// The Welcome page's bank codes, each "CODE  - Name".
std::optional<QStringList> loadBankCodes(const ConnectionSettings &settings, RunView &view);

// The history page's currencies, shown as the page's one database step.
std::optional<QStringList> loadHistoryCurrencies(const ConnectionSettings &settings, RunView &view);
