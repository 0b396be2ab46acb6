#include "startup/w32Utils.h"

namespace {
char16_t foldAscii(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - u'a' + u'A') : c;
}
} // namespace

bool AsciiEqualsIgnoreCase(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (foldAscii(a[i].unicode()) != foldAscii(b[i].unicode()))
            return false;
    }
    return true;
}

int IndexOfPrefix(const QStringList &lines, const QString &prefix)
{
    if (prefix.isEmpty())
        return -1;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith(prefix, Qt::CaseSensitive))
            return i;
    }
    return -1;
}

QString SplitAtChar(QString &text, QChar ch)
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

QString WithTrailingChar(const QString &text, QChar ch)
{
    if (text.isEmpty() || text.endsWith(ch))
        return text;
    return text + ch;
}

QString WithoutTrailingChar(const QString &text, QChar ch)
{
    if (text.endsWith(ch))
        return text.chopped(1);
    return text;
}

int FindParamByPrefix(const QStringList &args, const QString &prefix)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg.size() >= prefix.size() && AsciiEqualsIgnoreCase(QStringView(arg).left(prefix.size()), prefix))
            return i + 1;
    }
    return 0;
}

QString GetParamValue(const QStringList &args, const QString &prefix)
{
    const int number = FindParamByPrefix(args, prefix);
    if (number == 0)
        return {};
    return args[number - 1].mid(prefix.size());
}

bool HasSwitch(const QStringList &args, const QString &name)
{
    for (const QString &arg : args) {
        if (AsciiEqualsIgnoreCase(arg, name))
            return true;
    }
    return false;
}
