#pragma once

#include <QString>

class DownloadClient;
class RunView;
class TMagyarNemzetiBankObject;

// Where the current rates come from: the network, or a saved answer.
class RateFetch {
public:
    virtual ~RateFetch() = default;
    // Appends the central bank's current rates to its client's list.
    virtual void FetchCentralBankRates(TMagyarNemzetiBankObject &client) = 0;
    // Puts OTP Bank's table into the download file; false, reported, when
    // that fails.
    virtual bool FetchOTPTable(const QString &address, RunView &view) = 0;
};

class NetworkRateFetch : public RateFetch {
public:
    explicit NetworkRateFetch(DownloadClient &http) : m_http(http) {}
    void FetchCentralBankRates(TMagyarNemzetiBankObject &client) override;
    bool FetchOTPTable(const QString &address, RunView &view) override;

private:
    DownloadClient &m_http;
};
