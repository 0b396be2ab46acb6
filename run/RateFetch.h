#pragma once

#include <QString>

class DownloadClient;
class DownloadFile;
class MagyarNemzetiBankObject;
class RunView;

// Where the current rates come from: the network, or a saved answer.
class RateFetch {
public:
    virtual ~RateFetch() = default;
    // Appends the central bank's current rates to its client's list.
    virtual void fetchCentralBankRates(MagyarNemzetiBankObject &client) = 0;
    // Puts OTP Bank's table into the download file; false, reported, when
    // that fails.
    virtual bool fetchOTPTable(const QString &address, DownloadFile &file, RunView &view) = 0;
};

class NetworkRateFetch : public RateFetch {
public:
    explicit NetworkRateFetch(DownloadClient &http)
        : m_http(http)
    {
    }
    void fetchCentralBankRates(MagyarNemzetiBankObject &client) override;
    bool fetchOTPTable(const QString &address, DownloadFile &file, RunView &view) override;

private:
    DownloadClient &m_http;
};
