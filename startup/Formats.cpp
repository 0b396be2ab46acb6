#include "startup/Formats.h"

#include "startup/TextValues.h"

#include <cmath>
#include <cstdio>
#include <string>

using namespace Qt::StringLiterals;

const std::array<QString, 12> ShortMonthNames = {
    u"jan."_s, u"febr."_s, u"márc."_s,  u"ápr."_s, u"máj."_s, u"jún."_s,
    u"júl."_s, u"aug."_s,  u"szept."_s, u"okt."_s, u"nov."_s, u"dec."_s,
};
const std::array<QString, 12> LongMonthNames = {
    u"január"_s, u"február"_s,   u"március"_s,    u"április"_s, u"május"_s,    u"június"_s,
    u"július"_s, u"augusztus"_s, u"szeptember"_s, u"október"_s, u"november"_s, u"december"_s,
};
const std::array<QString, 7> ShortDayNames = {
    u"Vas"_s, u"Hét"_s, u"Kedd"_s, u"Szer"_s, u"Csüt"_s, u"Pén"_s, u"Szom"_s,
};
const std::array<QString, 7> LongDayNames = {
    u"Vasárnap"_s, u"Hétfô"_s, u"Kedd"_s, u"Szerda"_s, u"Csütörtök"_s, u"Péntek"_s, u"Szombat"_s,
};

namespace {
// Decimal digits of |value| rounded to 8 significant digits, as a count of
// hundredths, so that the cents come from the decimal digits and not from
// the binary fraction.
std::string hundredths(double magnitude)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.7e", magnitude); // d.ddddddde±xx
    std::string digits;
    const char *p = buf;
    for (; *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            digits += *p;
    }
    const int exponent = std::atoi(p + 1);
    // value = digits × 10^(exponent - 7); in hundredths, × 10^(exponent - 5)
    const int shift = exponent - 5;
    if (shift >= 0)
        return digits + std::string(shift, '0');
    const int cut = -shift;
    if (cut > static_cast<int>(digits.size()))
        return "0";
    std::string kept = digits.substr(0, digits.size() - cut);
    const bool roundUp = digits[digits.size() - cut] >= '5';
    if (kept.empty())
        kept = "0";
    if (roundUp) {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[i] == '9')
            kept[i--] = '0';
        if (i < 0)
            kept.insert(kept.begin(), '1');
        else
            ++kept[i];
    }
    return kept;
}

QString twoDigits(int n)
{
    return QString::number(n).rightJustified(2, u'0');
}

int dayOfWeekSundayFirst(const QDate &date)
{
    return date.dayOfWeek() % 7;
}
} // namespace

QString formatRate(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    std::string cents = hundredths(std::fabs(value));
    const size_t firstNonZero = cents.find_first_not_of('0');
    cents = firstNonZero == std::string::npos ? std::string("0") : cents.substr(firstNonZero);
    if (cents.size() < 3)
        cents.insert(0, 3 - cents.size(), '0');

    const std::string whole = cents.substr(0, cents.size() - 2);
    QString text;
    for (size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            text += ThousandsSeparator;
        text += QChar(whole[i]);
    }
    text += DecimalSeparator;
    text += QString::fromLatin1(cents.substr(cents.size() - 2));
    const bool zero = cents.find_first_not_of('0') == std::string::npos;
    if (value < 0 && !zero)
        text.prepend(u'-');
    return text;
}

QString formatShortDate(DateTime value)
{
    const QDate d = value.date();
    return QString::number(d.year()).rightJustified(4, u'0') + DateSeparator + twoDigits(d.month()) + DateSeparator
        + twoDigits(d.day());
}

QString formatLongDate(DateTime value)
{
    const QDate d = value.date();
    return QString::number(d.year()) + u' ' + LongMonthNames[d.month() - 1] + u' ' + twoDigits(d.day()) + u", "_s
        + LongDayNames[dayOfWeekSundayFirst(d)];
}

QString formatRateDateCaption(DateTime value)
{
    const QDate d = value.date();
    const QTime t = value.time();
    return QString::number(d.year()) + u". "_s + LongMonthNames[d.month() - 1] + u' ' + twoDigits(d.day()) + u"., "_s
        + LongDayNames[dayOfWeekSundayFirst(d)] + u"  -  "_s + twoDigits(t.hour()) + TimeSeparator
        + twoDigits(t.minute()) + TimeSeparator + twoDigits(t.second());
}

std::optional<QDate> readShortDate(const QString &text)
{
    return readDate(text, DateSeparator);
}
