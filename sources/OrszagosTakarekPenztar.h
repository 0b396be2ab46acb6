#pragma once

#include "startup/DateTime.h"
#include "tables/SampleFuncs.h"
#include "tables/StringGridFuncs.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

// OTP Bank's semicolon-separated rate table.

// One row of the table; rates are forints for PriceQty units.
struct TOTPCurrencyRecord {
    ::DateTime DateTime;
    QString Code;
    QString Name;
    quint16 PriceQty = 0;
    double Middle = 0;
    double CashBuy = 0;
    double CashSale = 0;
    double ChequeBuy = 0;
    double ChequeSale = 0;
    double CurrencyBuy = 0;
    double CurrencySale = 0;
};

// Column index of each header, -1 where the table lacks it.
struct TOTPColumnMap {
    int Code = -1;
    int PriceQty = -1;
    int Middle = -1;
    int CashBuy = -1;
    int CashSale = -1;
    int ChequeBuy = -1;
    int ChequeSale = -1;
    int CurrencyBuy = -1;
    int CurrencySale = -1;
};

struct TOTPRateTable {
    TStringTable Table;
    TOTPColumnMap Columns;
    // Whether the table carries the given day's date.
    bool Current = false;
    // When the rates were published; zero when Current is off.
    ::DateTime RateDate;
};

void FillOTPSampleList(TCurrencySampleList &samples);

// The table of one day for the rate service at baseUrl (scheme and host).
QString BuildOTPRateAddress(const QString &baseUrl, const QDate &today);
// OTP Bank's public rate page, named to the user when the table is unreadable.
QString OTPRatePageAddress(const QString &baseUrl);

TOTPRateTable ReadOTPRateTable(const QStringList &lines, const QDate &today);

// Appends one record per data row that yields a code and a non-zero unit.
void ReadOTPRateRecords(const TOTPRateTable &table, const TCurrencySampleList &samples,
                        QVector<TOTPCurrencyRecord> &records);
