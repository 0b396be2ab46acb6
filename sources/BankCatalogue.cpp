#include "sources/BankCatalogue.h"

using namespace Qt::StringLiterals;

const QVector<BankInfo> &bankCatalogue()
{
    static const QVector<BankInfo> banks = {
        {u"Magyar Nemzeti Bank (MNB)"_s,
         u"MNB"_s,
         u"Magyar Nemzeti Bank"_s,
         {u"Deviza"_s},
         false,
         true,
         false,
         HistoryOption::KeepChecked,
         true,
         u"Magyar Nemzeti Bank"_s},
        {u"OTP Bank (OTP)"_s,
         u"OTP"_s,
         u"Országos TakarékPénztár"_s,
         {u"Deviza"_s, u"Valuta"_s, u"Csekk"_s},
         true,
         false,
         true,
         HistoryOption::Uncheck,
         false,
         u"Országos TakarékPénztár"_s},
    };
    return banks;
}

const BankInfo *bankAt(int bankIndex)
{
    const auto &banks = bankCatalogue();
    if (bankIndex < 0 || bankIndex >= banks.size())
        return nullptr;
    return &banks[bankIndex];
}

RatePair otpQuotedPair(const OTPCurrencyRecord &record, int rateTypeIndex)
{
    switch (rateTypeIndex) {
    case 0:
        return {record.currencyBuy, record.currencySale};
    case 1:
        return {record.cashBuy, record.cashSale};
    case 2:
        return {record.chequeBuy, record.chequeSale};
    default:
        // OTP Bank has three rate types: any other is no pair at all, which
        // writes nothing.
        return {};
    }
}

RatePair otpRatePair(const OTPCurrencyRecord &record, int rateTypeIndex, bool onlyMiddleRate)
{
    const RatePair quoted =
        onlyMiddleRate ? RatePair{record.middle, record.middle} : otpQuotedPair(record, rateTypeIndex);
    const double qty = record.priceQty;
    return {quoted.buy / qty, quoted.sell / qty};
}
