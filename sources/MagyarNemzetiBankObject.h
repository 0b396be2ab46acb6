#pragma once

#include "rates/CurrencyObjects.h"
#include "sources/MagyarNemzetiBankAPI.h"

#include <QByteArray>
#include <QDate>
#include <QString>

// The wizard's client of the central bank: calls the rate operations and
// keeps every rate they answer in its one list, which is never cleared.
// Errors of the call or of the answer propagate as ServiceError.
class TMagyarNemzetiBankObject {
public:
    TMagyarNemzetiBankObject(const QString &endpoint, const TransferSettings &settings);

    // Both return the answer's text and append its rates to the list.
    QString GetCurrentExchangeRates();
    QString GetExchangeRates(const QDate &StartDate, const QDate &EndDate, const QString &Currencies);

    // The list when it holds an entry; none otherwise.
    const TCurrencyObjectList *GetCurrencyObjectList() const;

    QString GetCurrencies();
    // Always asks for EUR and USD.
    QString GetCurrencyUnits();
    QString GetDateInterval();
    QString GetInfo();

    // Appends the rates of a saved answer (a rate document or a whole SOAP
    // answer) as if the service had just sent it.
    void ReadSavedAnswer(const QByteArray &answer);

private:
    MNBArfolyamServiceSoap MNBAPI;
    TCurrencyObjectList CurrencyObjectList;
};
