#pragma once

#include "sources/RateFetch.h"

#include <QString>

// The current rates read from a saved answer instead of the network.
class SavedAnswerFetch : public RateFetch {
public:
    explicit SavedAnswerFetch(QString path) : m_path(std::move(path)) {}
    void FetchCentralBankRates(TMagyarNemzetiBankObject &client) override;
    // Copies the saved table into the download file, so that it is read
    // exactly as a download would be.
    bool FetchOTPTable(const QString &address, RunView &view) override;

private:
    QString m_path;
};
