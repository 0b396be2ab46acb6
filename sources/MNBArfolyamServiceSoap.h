#pragma once

#include "sources/HttpSession.h"

#include <QList>
#include <QString>
#include <utility>

// The central bank's exchange-rate web service, SOAP 1.1 over HTTP POST.
// The proxy is the system's own: the usual proxy environment variables.
// Every operation returns its result text, and throws SourceError when the
// call fails: no answer, an HTTP error status, a SOAP fault (its fault
// string is the message), or an answer that is not XML or lacks the result.
class MNBArfolyamServiceSoap {
public:
    MNBArfolyamServiceSoap(const QString &endpoint, const TransferSettings &settings);

    QString getCurrencies();
    // currencyNames: comma-separated codes, e.g. "EUR,USD".
    QString getCurrencyUnits(const QString &currencyNames);
    QString getCurrentExchangeRates();
    QString getDateInterval();
    // Dates written "yyyy-mm-dd".
    QString getExchangeRates(const QString &startDate, const QString &endDate, const QString &currencyNames);
    QString getInfo();

private:
    using Parameters = QList<std::pair<QString, QString>>;
    QString call(const QString &operation, const Parameters &parameters);

    QString m_endpoint;
    HttpSession m_session;
};
