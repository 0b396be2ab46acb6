#pragma once

#include "sources/DownloadClient.h"
#include "sources/MagyarNemzetiBankObject.h"
#include "sources/OrszagosTakarekPenztar.h"
#include "startup/SettingsFile.h"

#include <QVector>

// What the wizard keeps for a run: the two clients, OTP Bank's samples and
// records, and the central bank's list as the last fetch left it.
struct RateSession {
    RateSession(const SourceSettings &sources, const ProxySettings &proxy, const TransferSettings &transfer);

    DownloadClient HttpClient;
    TMagyarNemzetiBankObject MagyarNemzetiBankObject;
    QString OTPBaseUrl;
    TCurrencySampleList OTPCurrencySampleList;
    QVector<TOTPCurrencyRecord> CurrencyList;
    const TCurrencyObjectList *CurrencyObjectList = nullptr;
    bool CurrencyRatesCurrent = true;
};
