#include "sources/RateSession.h"

RateSession::RateSession(const SourceSettings &sources, const ProxySettings &proxy, const TransferSettings &transfer)
    : HttpClient(proxy, transfer), MagyarNemzetiBankObject(sources.MNBServiceUrl, transfer),
      OTPBaseUrl(sources.OTPBaseUrl)
{
    FillOTPSampleList(OTPCurrencySampleList);
}
