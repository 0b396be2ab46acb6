#include "sources/BankCatalogue.h"

using namespace Qt::StringLiterals;

const QVector<BankInfo> &BankCatalogue()
{
    static const QVector<BankInfo> banks = {
        {u"Magyar Nemzeti Bank (MNB)"_s, u"MNB"_s, u"Magyar Nemzeti Bank"_s, {u"Deviza"_s}, false, true, false,
         HistoryOption::KeepChecked, true, u"Magyar Nemzeti Bank"_s},
        {u"OTP Bank (OTP)"_s, u"OTP"_s, u"Országos TakarékPénztár"_s, {u"Deviza"_s, u"Valuta"_s, u"Csekk"_s}, true,
         false, true, HistoryOption::Uncheck, false, u"Országos TakarékPénztár"_s},
    };
    return banks;
}

const BankInfo *BankAt(int bankIndex)
{
    const auto &banks = BankCatalogue();
    if (bankIndex < 0 || bankIndex >= banks.size())
        return nullptr;
    return &banks[bankIndex];
}

RatePair OTPQuotedPair(const TOTPCurrencyRecord &record, int rateTypeIndex)
{
    switch (rateTypeIndex) {
    case 1:
        return {record.CashBuy, record.CashSale};
    case 2:
        return {record.ChequeBuy, record.ChequeSale};
    default:
        return {record.CurrencyBuy, record.CurrencySale};
    }
}

RatePair OTPRatePair(const TOTPCurrencyRecord &record, int rateTypeIndex, bool onlyMiddleRate)
{
    const RatePair quoted = onlyMiddleRate ? RatePair{record.Middle, record.Middle}
                                           : OTPQuotedPair(record, rateTypeIndex);
    const double qty = record.PriceQty;
    return {quoted.buy / qty, quoted.sell / qty};
}
