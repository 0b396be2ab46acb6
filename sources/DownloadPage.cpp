#include "sources/DownloadPage.h"

#include "sources/DownloadClient.h"
#include "sources/RunView.h"
#include "startup/StartupSettings.h"
#include "startup/w32Utils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

QString TemporaryFolder()
{
    return WithoutTrailingChar(TemporaryDirectory(), u'/');
}

QString DownloadErrorMessage(const QString &address, const QString &errorText)
{
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName().toLower();
    return u"Hiba történt a weboldal megnyitása közben:\r\n\r\n"_s + address + u"\r\n\r\n"_s + u"Hibaüzenet: "_s
        + errorText + u"\r\n\r\n"_s + u"Lehetséges megoldások:"_s + u"\r\n"_s
        + u" - Ellenőrizze a számítógépe hálózati kapcsolatát."_s + u"\r\n"_s
        + u" - Ha a számítógépet vagy a hálózatot tűzfal vagy proxy védi, ellenőrizze, hogy az Árfolyamlekérdező ("_s
        + program + u") számára engedélyezett-e a webhozzáférés."_s;
}

} // namespace

QString DownloadFilePath()
{
    return WithTrailingChar(TemporaryFolder(), u'/') + u"kelvora.tmp"_s;
}

QString PrepareDownloadFile()
{
    QDir().mkpath(TemporaryFolder());
    const QString path = DownloadFilePath();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    QFile::remove(path);
    return path;
}

bool DownloadPage(DownloadClient &client, const QString &address, RunView &view)
{
    QFile file(PrepareDownloadFile());
    std::optional<QString> error;
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        error = client.Get(address, file);
    else
        error = u"A letöltési fájl (%1) nem hozható létre: %2"_s.arg(file.fileName(), file.errorString());
    file.close();
    if (!error)
        return true;
    view.ReportError(DownloadErrorMessage(address, *error));
    view.ShowErrorPage();
    return false;
}
