#include "run/DownloadPage.h"

#include "run/RunView.h"
#include "sources/DownloadClient.h"
#include "sources/DownloadFile.h"
#include "sources/SourceError.h"

#include <QCoreApplication>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

QString downloadErrorMessage(const QString &address, const QString &errorText)
{
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName().toLower();
    return u"Hiba történt a weboldal megnyitása közben:\r\n\r\n"_s + displayAddress(address) + u"\r\n\r\n"_s
        + u"Hibaüzenet: "_s + errorText + u"\r\n\r\n"_s + u"Lehetséges megoldások:"_s + u"\r\n"_s
        + u" - Ellenőrizze a számítógépe hálózati kapcsolatát."_s + u"\r\n"_s
        + u" - Ha a számítógépet vagy a hálózatot tűzfal vagy proxy védi, ellenőrizze, hogy az Árfolyamlekérdező ("_s
        + program + u") számára engedélyezett-e a webhozzáférés."_s;
}

} // namespace

bool downloadPage(DownloadClient &client, const QString &address, DownloadFile &file, RunView &view)
{
    QFile *out = nullptr;
    try {
        out = &file.create();
        client.get(address, *out);
        // The file's last bytes are written only now: a full disk shows
        // here, and a table cut short must not be read as the whole one.
        if (!out->flush())
            throw SourceError(u"A letöltött adatok nem írhatók ki: %1"_s.arg(out->errorString()));
        out->close();
        return true;
    } catch (const SourceError &e) {
        // What arrived stays for the page analysis, as after any download.
        if (out)
            out->close();
        view.reportError(downloadErrorMessage(address, e.message()));
        view.showErrorPage();
        return false;
    }
}
