#include "rates/CurrencyObjects.h"

void CurrencyObject::fillWithData(const QString &code, const QString &name, const QString &place, DateTime day,
                                  quint16 unit, double buy, double sell, double middle)
{
    m_code = code;
    m_name = name;
    m_place = place;
    m_day = day;
    m_unit = unit;
    const double divisor = unit != 0 ? static_cast<double>(unit) : 1.0;
    m_buy = buy / divisor;
    m_sell = sell / divisor;
    m_middle = middle / divisor;
}

int CurrencyObjectList::addCurrency(CurrencyObject object)
{
    m_objectList.push_back(std::move(object));
    return static_cast<int>(m_objectList.size()) - 1;
}

const CurrencyObject *CurrencyObjectList::getCurrency(int index) const
{
    if (index < 0 || index >= listCount())
        return nullptr;
    return &m_objectList[static_cast<size_t>(index)];
}
