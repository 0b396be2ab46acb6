#include "cli/SavedAnswerFetch.h"

#include "run/RunView.h"
#include "sources/DownloadFile.h"
#include "sources/MagyarNemzetiBankObject.h"
#include "sources/SourceError.h"

using namespace Qt::StringLiterals;

void SavedAnswerFetch::fetchCentralBankRates(MagyarNemzetiBankObject &client)
{
    client.readSavedAnswer(m_answer);
}

bool SavedAnswerFetch::fetchOTPTable(const QString &, DownloadFile &file, RunView &view)
{
    try {
        QFile &out = file.create();
        if (out.write(m_answer) != m_answer.size() || !out.flush())
            throw SourceError(u"A letöltési fájl nem írható (%1): %2"_s.arg(out.fileName(), out.errorString()));
        out.close();
        return true;
    } catch (const SourceError &e) {
        view.reportError(e.message());
        view.showErrorPage();
        return false;
    }
}
