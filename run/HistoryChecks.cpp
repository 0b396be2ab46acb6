#include "run/HistoryChecks.h"

#include "startup/Formats.h"

using namespace Qt::StringLiterals;

std::optional<HistoryCheckFailure> checkHistoryPeriod(int tickedCurrencies, const QString &fromText,
                                                      const QString &toText, const QDate &today)
{
    if (tickedCurrencies < 1)
        return HistoryCheckFailure{u"Legalább egy pénznemet ki kell választania!"_s, HistoryField::CurrencyList};
    const auto from = readShortDate(fromText);
    if (!from)
        return HistoryCheckFailure{u"A Lekérdezés kezdőnapja mező érvénytelen dátumot tartalmaz!"_s,
                                   HistoryField::FromDate};
    const auto to = readShortDate(toText);
    if (!to)
        return HistoryCheckFailure{u"A Lekérdezés zárónapja mező érvénytelen dátumot tartalmaz!"_s,
                                   HistoryField::ToDate};
    if (from->year() != to->year())
        return HistoryCheckFailure{u"A lekérdezés kezdő és záróéve nem térhet el egymástól!"_s, HistoryField::FromDate};
    if (from->year() < 2000)
        return HistoryCheckFailure{u"A Lekérdezés kezdőnapja nem lehet 2000. évinél kisebb!"_s, HistoryField::FromDate};
    if (*from > today || *to > today)
        return HistoryCheckFailure{u"A lekérdezés kezdő- és végnapja nem lehet a mai napnál későbbi!"_s,
                                   HistoryField::FromDate};
    return std::nullopt;
}
