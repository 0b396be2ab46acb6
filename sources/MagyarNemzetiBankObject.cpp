#include "sources/MagyarNemzetiBankObject.h"

#include "sources/RateDocument.h"

using namespace Qt::StringLiterals;

TMagyarNemzetiBankObject::TMagyarNemzetiBankObject(const QString &endpoint, const TransferSettings &settings)
    : MNBAPI(endpoint, settings)
{
}

QString TMagyarNemzetiBankObject::GetCurrentExchangeRates()
{
    const QString answer = MNBAPI.GetCurrentExchangeRates();
    ReadRateDocument(answer, CurrencyObjectList);
    return answer;
}

QString TMagyarNemzetiBankObject::GetExchangeRates(const QDate &StartDate, const QDate &EndDate,
                                                   const QString &Currencies)
{
    const QString answer = MNBAPI.GetExchangeRates(StartDate.toString(u"yyyy-MM-dd"_s),
                                                   EndDate.toString(u"yyyy-MM-dd"_s), Currencies);
    ReadRateDocument(answer, CurrencyObjectList);
    return answer;
}

const TCurrencyObjectList *TMagyarNemzetiBankObject::GetCurrencyObjectList() const
{
    return CurrencyObjectList.ListCount() > 0 ? &CurrencyObjectList : nullptr;
}

QString TMagyarNemzetiBankObject::GetCurrencies()
{
    return MNBAPI.GetCurrencies();
}

QString TMagyarNemzetiBankObject::GetCurrencyUnits()
{
    return MNBAPI.GetCurrencyUnits(u"EUR,USD"_s);
}

QString TMagyarNemzetiBankObject::GetDateInterval()
{
    return MNBAPI.GetDateInterval();
}

QString TMagyarNemzetiBankObject::GetInfo()
{
    return MNBAPI.GetInfo();
}

void TMagyarNemzetiBankObject::ReadSavedAnswer(const QByteArray &answer)
{
    ReadRateDocument(answer, CurrencyObjectList);
}
