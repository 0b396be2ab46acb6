#include "cli/NamedFile.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

std::optional<QString> readNamedFile(const QString &path, const QString &role, int maxMiB, QByteArray &contents)
{
    const qint64 maxBytes = qint64(maxMiB) * 1024 * 1024;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return u"A megadott %1 nem létezik: %2"_s.arg(role, path);
    if (!info.isFile())
        return u"A megadott %1 nem közönséges fájl: %2"_s.arg(role, path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return u"A megadott %1 nem olvasható (%2): %3"_s.arg(role, path, file.errorString());
    // One byte past the limit is enough to know it is too large.
    contents = maxBytes > 0 ? file.read(maxBytes + 1) : file.readAll();
    if (file.error() != QFileDevice::NoError)
        return u"A megadott %1 nem olvasható (%2): %3"_s.arg(role, path, file.errorString());
    if (maxBytes > 0 && contents.size() > maxBytes) {
        contents.clear();
        return u"A megadott %1 nagyobb a megengedett %2 MiB-nál: %3. A korlát a beállításfájl [Sources] szakaszának "
               u"MaxAnswerMiB kulcsával emelhető."_s.arg(role)
                   .arg(maxMiB)
                   .arg(path);
    }
    return std::nullopt;
}
