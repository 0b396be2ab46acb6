#pragma once

#include "sources/OTPRateTable.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

// The rate sources the wizard offers, and what choosing one does to the
// Welcome page's options.

enum class HistoryOption { KeepChecked, Uncheck };

struct BankInfo {
    QString label; // in the bank selector
    QString code; // the suite's bank code, and the value of "/b"
    QString suiteName; // the name written with the code into VHELY
    QStringList rateTypes; // in order; the first is chosen
    bool rateTypesEnabled;
    bool onlyMiddleChecked;
    bool onlyMiddleEnabled;
    HistoryOption history;
    bool historyEnabled;
    QString selectionSection; // of the settings file
};

inline constexpr int MNBBankIndex = 0;
inline constexpr int OTPBankIndex = 1;

const QVector<BankInfo> &bankCatalogue();
// The catalogue entry of a bank index; none for -1 or an unknown index.
const BankInfo *bankAt(int bankIndex);

struct RatePair {
    double buy = 0;
    double sell = 0;
};

// Per-unit buying and selling rate of an OTP record for a rate type
// (0 "Deviza", 1 "Valuta", 2 "Csekk"), or the middle rate for both; 0 and 0
// for any other rate type.
RatePair otpRatePair(const OTPCurrencyRecord &record, int rateTypeIndex, bool onlyMiddleRate);
// Unit prices as they stand in the record, not yet divided by PriceQty.
RatePair otpQuotedPair(const OTPCurrencyRecord &record, int rateTypeIndex);
