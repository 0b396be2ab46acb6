#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <compare>

// A point in time as the suite and its sources count it: days since
// 1899-12-30, the fraction being the time of day. The zero value stands
// for "no date".
class DateTime {
public:
    constexpr DateTime() = default;
    constexpr explicit DateTime(double days)
        : m_days(days)
    {
    }

    static DateTime fromDate(const QDate &date);
    static DateTime fromTime(const QTime &time);
    static DateTime fromDateTime(const QDateTime &dateTime);
    static DateTime today();
    static DateTime now();

    constexpr double value() const { return m_days; }
    constexpr bool isZero() const { return m_days == 0.0; }

    QDate date() const;
    QTime time() const;
    QDateTime toDateTime() const;

    // Whole days only, the time of day dropped.
    DateTime dateOnly() const;
    DateTime addDays(int days) const;

    friend constexpr auto operator<=>(DateTime, DateTime) = default;
    friend constexpr bool operator==(DateTime, DateTime) = default;
    friend constexpr DateTime operator+(DateTime a, DateTime b) { return DateTime(a.m_days + b.m_days); }

private:
    double m_days = 0.0;
};

inline QDate dateTimeEpoch()
{
    return QDate(1899, 12, 30);
}
