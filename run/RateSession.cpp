#include "run/RateSession.h"

#include "startup/StartupSettings.h"
#include "startup/TextHelpers.h"

RateSession::RateSession(const SourceSettings &sources, const ProxySettings &proxy, const TransferSettings &transfer)
    : httpClient(proxy, transfer)
    , magyarNemzetiBankObject(sources.mnbServiceUrl, transfer)
    , downloadFile(withoutTrailingChar(temporaryDirectory(), u'/'))
    , otpBaseUrl(sources.otpBaseUrl)
{
    fillOTPSampleList(otpCurrencySampleList);
}

TransferSettings transferSettings(const SourceSettings &sources)
{
    TransferSettings transfer;
    transfer.caFile = sources.caFile;
    transfer.maxAnswerMiB = sources.maxAnswerMiB;
    return transfer;
}
