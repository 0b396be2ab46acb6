#include "run/RateFetch.h"

#include "run/DownloadPage.h"
#include "sources/MagyarNemzetiBankObject.h"

void NetworkRateFetch::fetchCentralBankRates(MagyarNemzetiBankObject &client)
{
    client.getCurrentExchangeRates();
}

bool NetworkRateFetch::fetchOTPTable(const QString &address, DownloadFile &file, RunView &view)
{
    return downloadPage(m_http, address, file, view);
}
