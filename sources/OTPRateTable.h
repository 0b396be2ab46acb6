#pragma once

#include "startup/DateTime.h"
#include "tables/CurrencySamples.h"
#include "tables/StringTable.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

// OTP Bank's semicolon-separated rate table.

// One row of the table; rates are forints for priceQty units.
struct OTPCurrencyRecord {
    DateTime dateTime;
    QString code;
    QString name;
    quint16 priceQty = 0;
    double middle = 0;
    double cashBuy = 0;
    double cashSale = 0;
    double chequeBuy = 0;
    double chequeSale = 0;
    double currencyBuy = 0;
    double currencySale = 0;
};

// Column index of each header, -1 where the table lacks it.
struct OTPColumnMap {
    int code = -1;
    int priceQty = -1;
    int middle = -1;
    int cashBuy = -1;
    int cashSale = -1;
    int chequeBuy = -1;
    int chequeSale = -1;
    int currencyBuy = -1;
    int currencySale = -1;
};

struct OTPRateTable {
    StringTable table;
    OTPColumnMap columns;
    // Whether the table carries the given day's date.
    bool current = false;
    // When the rates were published; zero when current is off.
    DateTime rateDate;
};

void fillOTPSampleList(CurrencySampleList &samples);

// The table of one day for the rate service at baseUrl (scheme and host).
QString buildOTPRateAddress(const QString &baseUrl, const QDate &today);
// OTP Bank's public rate page, named to the user when the table is unreadable.
QString otpRatePageAddress(const QString &baseUrl);

OTPRateTable readOTPRateTable(const QStringList &lines, const QDate &today);

// Appends one record per data row that yields a code and a non-zero unit.
void readOTPRateRecords(const OTPRateTable &table, const CurrencySampleList &samples,
                        QVector<OTPCurrencyRecord> &records);
