#pragma once

#include "startup/DateTime.h"

#include <QString>
#include <deque>

// One rate of the central bank: rates are per one unit of the currency,
// currencyUnit() only says what unit the source quoted.
class CurrencyObject {
public:
    void fillWithData(const QString &code, const QString &name, const QString &place, DateTime day, quint16 unit,
                      double buy, double sell, double middle);

    const QString &code() const { return m_code; }
    quint16 currencyUnit() const { return m_unit; }
    double buy() const { return m_buy; }
    double sell() const { return m_sell; }
    double middle() const { return m_middle; }
    DateTime day() const { return m_day; }

private:
    QString m_code;
    QString m_name;
    QString m_place;
    DateTime m_day;
    quint16 m_unit = 0;
    double m_buy = 0;
    double m_sell = 0;
    double m_middle = 0;
};

// Owns its entries in insertion order; entries are never removed, and an
// entry stays where it is while more are appended.
class CurrencyObjectList {
public:
    // Appends the entry; returns its index.
    int addCurrency(CurrencyObject object);
    // The entry at index, still owned by the list; none past the end.
    const CurrencyObject *getCurrency(int index) const;
    int listCount() const { return static_cast<int>(m_objectList.size()); }

private:
    // Entries are stored in blocks: a ten-year history holds some 80,000.
    std::deque<CurrencyObject> m_objectList;
};
