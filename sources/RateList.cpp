#include "sources/RateList.h"

#include "sources/BankCatalogue.h"
#include "startup/Formats.h"

using namespace Qt::StringLiterals;

namespace {
QVector<RateListColumn> columns(bool history, bool sellAndBuy)
{
    QVector<RateListColumn> result;
    if (history)
        result.append({u"Dátum"_s, 100, Qt::AlignLeft});
    result.append({u"Pénznem"_s, 75, Qt::AlignLeft});
    result.append({u"Egység"_s, 50, Qt::AlignRight});
    result.append({u"Közép"_s, 80, Qt::AlignRight});
    if (sellAndBuy) {
        result.append({u"Eladási"_s, 80, Qt::AlignRight});
        result.append({u"Vételi"_s, 80, Qt::AlignRight});
    }
    return result;
}
} // namespace

RateList CurrentRateList(int bankIndex, int rateTypeIndex, bool onlyMiddleRate,
                         const TCurrencyObjectList *currencyObjects, const QVector<TOTPCurrencyRecord> &otpRecords)
{
    // The central bank quotes middle rates only.
    const bool sellAndBuy = !onlyMiddleRate && bankIndex != MNBBankIndex;
    RateList list;
    list.columns = columns(false, sellAndBuy);
    if (bankIndex == MNBBankIndex) {
        for (int i = 0; currencyObjects && i < currencyObjects->ListCount(); ++i) {
            const TCurrencyObject *o = currencyObjects->GetCurrency(i);
            list.rows.append({{o->Code(), QString::number(o->CurrencyUnit()), FormatRate(o->Middle())}, false});
        }
    } else if (bankIndex == OTPBankIndex) {
        for (const TOTPCurrencyRecord &r : otpRecords) {
            RateListRow row{{r.Code, QString::number(r.PriceQty), FormatRate(r.Middle)}, false};
            if (sellAndBuy) {
                const RatePair pair = OTPQuotedPair(r, rateTypeIndex);
                row.cells << FormatRate(pair.sell) << FormatRate(pair.buy);
            }
            list.rows.append(row);
        }
    }
    return list;
}

RateList HistoryRateList(const TCurrencyObjectList *currencyObjects)
{
    RateList list;
    list.columns = columns(true, false);
    for (int i = 0; currencyObjects && i < currencyObjects->ListCount(); ++i) {
        const TCurrencyObject *o = currencyObjects->GetCurrency(i);
        list.rows.append({{FormatShortDate(o->Day()), o->Code(), QString::number(o->CurrencyUnit()),
                           FormatRate(o->Middle())},
                          true});
    }
    return list;
}
