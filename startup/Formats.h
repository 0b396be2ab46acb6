#pragma once

#include "startup/DateTime.h"

#include <QString>
#include <array>

// The program's fixed Hungarian formats: decimal point ".", thousands
// separator ",", date separator ".", short date "yyyy.MM.dd".

inline constexpr QChar DecimalSeparator = u'.';
inline constexpr QChar ThousandsSeparator = u',';
inline constexpr QChar DateSeparator = u'.';
inline constexpr QChar TimeSeparator = u':';

extern const std::array<QString, 12> ShortMonthNames;
extern const std::array<QString, 12> LongMonthNames;
// Sunday first.
extern const std::array<QString, 7> ShortDayNames;
extern const std::array<QString, 7> LongDayNames;

// Rounded to 8 significant digits, then shown with two decimals and grouped
// thousands: 1234.5 gives 1,234.50.
QString formatRate(double value);

// "yyyy.MM.dd"
QString formatShortDate(DateTime value);
// "yyyy MMMM dd, dddd", Hungarian names.
QString formatLongDate(DateTime value);
// "yyyy. mmmm dd., dddd  -  hh:nn:ss": the rate date line of the rate list.
QString formatRateDateCaption(DateTime value);

// A date typed in the short date format; none when it is not a valid date.
std::optional<QDate> readShortDate(const QString &text);
