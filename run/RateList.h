#pragma once

#include "rates/CurrencyObjects.h"
#include "sources/OTPRateTable.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <Qt>

// The rate list of the Settings page: columns and rows with their cell
// texts already formatted, and a tick per row.

struct RateListColumn {
    QString caption;
    int width = 0;
    Qt::Alignment alignment = Qt::AlignLeft;
};

struct RateListRow {
    QStringList cells;
    bool checked = false;
};

struct RateList {
    QVector<RateListColumn> columns;
    QVector<RateListRow> rows;
};

// The rows of a current-rate run: the central bank's entries for bank 0,
// OTP Bank's records with the rate type's sell and buy columns for bank 1.
RateList currentRateList(int bankIndex, int rateTypeIndex, bool onlyMiddleRate,
                         const CurrencyObjectList *currencyObjects, const QVector<OTPCurrencyRecord> &otpRecords);

// The rows of a history run, dated and ticked; no rows without a list.
RateList historyRateList(const CurrencyObjectList *currencyObjects);
