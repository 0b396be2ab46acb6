#pragma once

#include <QChar>
#include <QDate>
#include <QStringView>
#include <QTime>
#include <optional>

// Reading numbers, dates and times from text. The separator is always an
// argument: nothing process-wide is consulted or changed.

// Optional leading blanks, an optional sign, decimal digits; fits in 32 bits.
std::optional<qint32> readWholeNumber(QStringView text);

// Optional blanks, sign, digits with at most one decimalSeparator, an
// optional exponent, optional blanks. No digit grouping.
std::optional<double> readDecimal(QStringView text, QChar decimalSeparator);

// Year, month and day in that order, parted by separator.
std::optional<QDate> readDate(QStringView text, QChar separator);

// Hours and minutes, optionally seconds, parted by separator.
std::optional<QTime> readTime(QStringView text, QChar separator);
