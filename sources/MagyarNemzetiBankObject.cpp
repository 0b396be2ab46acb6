#include "sources/MagyarNemzetiBankObject.h"

#include "sources/RateDocument.h"

using namespace Qt::StringLiterals;

MagyarNemzetiBankObject::MagyarNemzetiBankObject(const QString &endpoint, const TransferSettings &settings)
    : m_api(endpoint, settings)
{
}

QString MagyarNemzetiBankObject::getCurrentExchangeRates()
{
    const QString answer = m_api.getCurrentExchangeRates();
    readRateDocument(answer, m_currencyObjectList);
    return answer;
}

QString MagyarNemzetiBankObject::getExchangeRates(const QDate &startDate, const QDate &endDate,
                                                  const QString &currencies)
{
    const QString answer =
        m_api.getExchangeRates(startDate.toString(u"yyyy-MM-dd"_s), endDate.toString(u"yyyy-MM-dd"_s), currencies);
    readRateDocument(answer, m_currencyObjectList);
    return answer;
}

const CurrencyObjectList *MagyarNemzetiBankObject::getCurrencyObjectList() const
{
    return m_currencyObjectList.listCount() > 0 ? &m_currencyObjectList : nullptr;
}

QString MagyarNemzetiBankObject::getCurrencies()
{
    return m_api.getCurrencies();
}

QString MagyarNemzetiBankObject::getCurrencyUnits()
{
    return m_api.getCurrencyUnits(u"EUR,USD"_s);
}

QString MagyarNemzetiBankObject::getDateInterval()
{
    return m_api.getDateInterval();
}

QString MagyarNemzetiBankObject::getInfo()
{
    return m_api.getInfo();
}

void MagyarNemzetiBankObject::readSavedAnswer(const QByteArray &answer)
{
    readRateDocument(answer, m_currencyObjectList);
}
