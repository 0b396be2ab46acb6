#pragma once

#include "rates/CurrencyObjects.h"
#include "sources/MNBArfolyamServiceSoap.h"

#include <QByteArray>
#include <QDate>
#include <QString>

// The wizard's client of the central bank: calls the rate operations and
// keeps every rate they answer in its one list, which is never cleared.
// Errors of the call or of the answer propagate as SourceError.
class MagyarNemzetiBankObject {
public:
    MagyarNemzetiBankObject(const QString &endpoint, const TransferSettings &settings);

    // Both return the answer's text and append its rates to the list.
    QString getCurrentExchangeRates();
    QString getExchangeRates(const QDate &startDate, const QDate &endDate, const QString &currencies);

    // The list when it holds an entry; none otherwise.
    const CurrencyObjectList *getCurrencyObjectList() const;

    QString getCurrencies();
    // Always asks for EUR and USD.
    QString getCurrencyUnits();
    QString getDateInterval();
    QString getInfo();

    // Appends the rates of a saved answer (a rate document or a whole SOAP
    // answer) as if the service had just sent it.
    void readSavedAnswer(const QByteArray &answer);

private:
    MNBArfolyamServiceSoap m_api;
    CurrencyObjectList m_currencyObjectList;
};
