#include "cli/SavedAnswerFetch.h"

#include "sources/DownloadPage.h"
#include "sources/MagyarNemzetiBankObject.h"
#include "sources/RunView.h"
#include "sources/ServiceError.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace {
QByteArray readAll(const QString &path, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return {};
    }
    return file.readAll();
}
} // namespace

void SavedAnswerFetch::FetchCentralBankRates(TMagyarNemzetiBankObject &client)
{
    QString error;
    const QByteArray answer = readAll(m_path, error);
    if (!error.isEmpty())
        throw ServiceError(u"A mentett válasz nem tölthető be (%1): %2"_s.arg(m_path, error));
    client.ReadSavedAnswer(answer);
}

bool SavedAnswerFetch::FetchOTPTable(const QString &, RunView &view)
{
    QString error;
    const QByteArray table = readAll(m_path, error);
    QFile download(DownloadFilePath());
    if (error.isEmpty() && (!download.open(QIODevice::WriteOnly) || download.write(table) != table.size()))
        error = download.errorString();
    if (error.isEmpty())
        return true;
    view.ReportError(u"A mentett válasz nem tölthető be (%1): %2"_s.arg(m_path, error));
    view.ShowErrorPage();
    return false;
}
