#pragma once

#include <QDate>
#include <QString>
#include <optional>

// The checks a history period passes before anything is fetched.

enum class HistoryField { CurrencyList, FromDate, ToDate };

struct HistoryCheckFailure {
    QString message;
    HistoryField focus;
};

// The first check that fails, in order: a currency ticked, both dates
// valid, one calendar year, not before 2000, not after today.
std::optional<HistoryCheckFailure> checkHistoryPeriod(int tickedCurrencies, const QString &fromText,
                                                      const QString &toText, const QDate &today);
