#include "sources/RateFetch.h"

#include "sources/DownloadPage.h"
#include "sources/MagyarNemzetiBankObject.h"

void NetworkRateFetch::FetchCentralBankRates(TMagyarNemzetiBankObject &client)
{
    client.GetCurrentExchangeRates();
}

bool NetworkRateFetch::FetchOTPTable(const QString &address, RunView &view)
{
    return DownloadPage(m_http, address, view);
}
