#include "run/RateList.h"

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

RateList currentRateList(int bankIndex, int rateTypeIndex, bool onlyMiddleRate,
                         const CurrencyObjectList *currencyObjects, const QVector<OTPCurrencyRecord> &otpRecords)
{
    // The central bank quotes middle rates only.
    const bool sellAndBuy = !onlyMiddleRate && bankIndex != MNBBankIndex;
    RateList list;
    list.columns = columns(false, sellAndBuy);
    if (bankIndex == MNBBankIndex) {
        for (int i = 0; currencyObjects && i < currencyObjects->listCount(); ++i) {
            const CurrencyObject *o = currencyObjects->getCurrency(i);
            list.rows.append({{o->code(), QString::number(o->currencyUnit()), formatRate(o->middle())}, false});
        }
    } else if (bankIndex == OTPBankIndex) {
        for (const OTPCurrencyRecord &r : otpRecords) {
            RateListRow row{{r.code, QString::number(r.priceQty), formatRate(r.middle)}, false};
            if (sellAndBuy) {
                const RatePair pair = otpQuotedPair(r, rateTypeIndex);
                row.cells << formatRate(pair.sell) << formatRate(pair.buy);
            }
            list.rows.append(row);
        }
    }
    return list;
}

RateList historyRateList(const CurrencyObjectList *currencyObjects)
{
    RateList list;
    list.columns = columns(true, false);
    for (int i = 0; currencyObjects && i < currencyObjects->listCount(); ++i) {
        const CurrencyObject *o = currencyObjects->getCurrency(i);
        list.rows.append(
            {{formatShortDate(o->day()), o->code(), QString::number(o->currencyUnit()), formatRate(o->middle())},
             true});
    }
    return list;
}
