#include "run/ErrorEntry.h"

using namespace Qt::StringLiterals;

QStringList errorEntryLines(int number, const QString &message)
{
    QStringList lines{u"[Hibaüzenet sorszáma: %1]"_s.arg(number)};
    lines += message.split(u"\r\n"_s);
    lines << u" "_s;
    return lines;
}
