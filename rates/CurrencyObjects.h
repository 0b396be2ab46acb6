#pragma once

#include "startup/DateTime.h"

#include <QString>
#include <deque>

// One rate of the central bank: rates are per one unit of the currency,
// CurrencyUnit() only says what unit the source quoted.
class TCurrencyObject {
public:
    void FillWithData(const QString &ACode, const QString &AName, const QString &APlace, DateTime ADay,
                      quint16 AUnit, double ABuy, double ASell, double AMiddle);

    const QString &Code() const { return FCode; }
    quint16 CurrencyUnit() const { return FUnit; }
    double Buy() const { return FBuy; }
    double Sell() const { return FSell; }
    double Middle() const { return FMiddle; }
    DateTime Day() const { return FDay; }

private:
    QString FCode;
    QString FName;
    QString FPlace;
    DateTime FDay;
    quint16 FUnit = 0;
    double FBuy = 0;
    double FSell = 0;
    double FMiddle = 0;
};

// Owns its entries in insertion order; entries are never removed, and an
// entry stays where it is while more are appended.
class TCurrencyObjectList {
public:
    // Appends the entry; returns its index.
    int AddCurrency(TCurrencyObject AObject);
    // The entry at Index, still owned by the list; none past the end.
    const TCurrencyObject *GetCurrency(int Index) const;
    int ListCount() const { return static_cast<int>(FObjectList.size()); }

private:
    // Entries are stored in blocks: a ten-year history holds some 80,000.
    std::deque<TCurrencyObject> FObjectList;
};
