#include "startup/TextHelpers.h"

namespace {
char16_t foldAscii(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - u'a' + u'A') : c;
}
} // namespace

bool asciiEqualsIgnoreCase(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (foldAscii(a[i].unicode()) != foldAscii(b[i].unicode()))
            return false;
    }
    return true;
}

int indexOfPrefix(const QStringList &lines, const QString &prefix)
{
    if (prefix.isEmpty())
        return -1;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith(prefix, Qt::CaseSensitive))
            return i;
    }
    return -1;
}

QString splitAtChar(QString &text, QChar ch)
{
    const qsizetype at = text.indexOf(ch);
    QString head;
    if (at < 0) {
        head = text;
        text.clear();
    } else {
        head = text.left(at);
        text.remove(0, at + 1);
    }
    return head;
}

QString withTrailingChar(const QString &text, QChar ch)
{
    if (text.isEmpty() || text.endsWith(ch))
        return text;
    return text + ch;
}

QString withoutTrailingChar(const QString &text, QChar ch)
{
    if (text.endsWith(ch))
        return text.chopped(1);
    return text;
}
