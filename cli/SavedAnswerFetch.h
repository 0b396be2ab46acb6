#pragma once

#include "run/RateFetch.h"

#include <QByteArray>

// The current rates read from a saved answer instead of the network.
class SavedAnswerFetch : public RateFetch {
public:
    explicit SavedAnswerFetch(QByteArray answer)
        : m_answer(std::move(answer))
    {
    }
    void fetchCentralBankRates(MagyarNemzetiBankObject &client) override;
    // Puts the saved table into the download file, so that it is read
    // exactly as a download would be.
    bool fetchOTPTable(const QString &address, DownloadFile &file, RunView &view) override;

private:
    QByteArray m_answer;
};
