#pragma once

#include "sources/DownloadClient.h"

#include <QList>
#include <QString>
#include <utility>

// The central bank's exchange-rate web service, SOAP 1.1 over HTTP POST.
// The proxy is the system's own: the usual proxy environment variables.
// Every operation throws ServiceError when the call fails: no answer, an
// HTTP error status, a SOAP fault (its fault string is the message), or an
// answer that is not XML or lacks the result.
class MNBArfolyamServiceSoap {
public:
    MNBArfolyamServiceSoap(const QString &endpoint, const TransferSettings &settings);

    QString GetCurrencies();
    // currencyNames: comma-separated codes, e.g. "EUR,USD".
    QString GetCurrencyUnits(const QString &currencyNames);
    QString GetCurrentExchangeRates();
    QString GetDateInterval();
    // Dates written "yyyy-mm-dd".
    QString GetExchangeRates(const QString &startDate, const QString &endDate, const QString &currencyNames);
    QString GetInfo();

private:
    using Parameters = QList<std::pair<QString, QString>>;
    QString Call(const QString &operation, const Parameters &parameters);

    QString m_endpoint;
    CurlSession m_session;
};
