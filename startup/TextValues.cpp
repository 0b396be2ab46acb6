#include "startup/TextValues.h"

#include <QList>
#include <charconv>
#include <string>

namespace {
bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView trimBlanks(QStringView text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

// Unsigned decimal digits only, at most maxDigits of them.
std::optional<int> readDigits(QStringView text, int maxDigits)
{
    const QStringView t = trimBlanks(text);
    if (t.isEmpty() || t.size() > maxDigits)
        return std::nullopt;
    int value = 0;
    for (QChar c : t) {
        if (!isDigit(c))
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}
} // namespace

std::optional<qint32> readWholeNumber(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    if (i == text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        if (!isDigit(text[i]))
            return std::nullopt;
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > qint64(1) << 31)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        return std::nullopt;
    return static_cast<qint32>(value);
}

std::optional<double> readDecimal(QStringView text, QChar decimalSeparator)
{
    const QStringView t = trimBlanks(text);
    std::string ascii;
    ascii.reserve(t.size());
    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) {
        if (t[i] == u'-')
            ascii += '-';
        ++i;
    }
    int mantissaDigits = 0;
    bool separatorSeen = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (isDigit(c)) {
            ascii += char(c.unicode());
            ++mantissaDigits;
        } else if (c == decimalSeparator && !separatorSeen) {
            ascii += '.';
            separatorSeen = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        ascii += 'e';
        ++i;
        if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
            ascii += char(t[i++].unicode());
        int exponentDigits = 0;
        for (; i < t.size() && isDigit(t[i]); ++i, ++exponentDigits)
            ascii += char(t[i].unicode());
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;

    double value = 0;
    const auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (ec != std::errc() || end != ascii.data() + ascii.size())
        return std::nullopt;
    return value;
}

std::optional<QDate> readDate(QStringView text, QChar separator)
{
    const QList<QStringView> parts = text.split(separator);
    if (parts.size() != 3)
        return std::nullopt;
    const auto year = readDigits(parts[0], 4);
    const auto month = readDigits(parts[1], 2);
    const auto day = readDigits(parts[2], 2);
    if (!year || !month || !day || trimBlanks(parts[0]).size() != 4)
        return std::nullopt;
    const QDate date(*year, *month, *day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QTime> readTime(QStringView text, QChar separator)
{
    const QList<QStringView> parts = text.split(separator);
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    const auto hours = readDigits(parts[0], 2);
    const auto minutes = readDigits(parts[1], 2);
    const auto seconds = parts.size() == 3 ? readDigits(parts[2], 2) : std::optional<int>(0);
    if (!hours || !minutes || !seconds)
        return std::nullopt;
    const QTime time(*hours, *minutes, *seconds);
    if (!time.isValid())
        return std::nullopt;
    return time;
}
