#pragma once

#include "sources/DownloadClient.h"
#include "sources/DownloadFile.h"
#include "sources/MagyarNemzetiBankObject.h"
#include "sources/OTPRateTable.h"
#include "startup/SettingsFile.h"

#include <QVector>

// What the wizard keeps for a run: the two clients, the download file, OTP
// Bank's samples and records, and the central bank's list as the last fetch
// left it.
struct RateSession {
    RateSession(const SourceSettings &sources, const ProxySettings &proxy, const TransferSettings &transfer);

    DownloadClient httpClient;
    MagyarNemzetiBankObject magyarNemzetiBankObject;
    DownloadFile downloadFile;
    QString otpBaseUrl;
    CurrencySampleList otpCurrencySampleList;
    QVector<OTPCurrencyRecord> currencyList;
    const CurrencyObjectList *currencyObjectList = nullptr;
    bool currencyRatesCurrent = true;
};

// The transfer settings the settings file asks for.
TransferSettings transferSettings(const SourceSettings &sources);
