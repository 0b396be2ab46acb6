#include "startup/DateTime.h"

#include <cmath>

namespace {
constexpr qint64 MsecsPerDay = 24LL * 60 * 60 * 1000;

// Splits into whole days and milliseconds of the day. Before the epoch the
// fraction still counts forward from midnight, as the suite's format has it.
void split(double days, qint64 &whole, qint64 &msecs)
{
    double integral = std::trunc(days);
    qint64 ms = std::llround(std::fabs(days - integral) * MsecsPerDay);
    whole = static_cast<qint64>(integral);
    if (ms >= MsecsPerDay) {
        ms -= MsecsPerDay;
        whole += days < 0 ? -1 : 1;
    }
    msecs = ms;
}
} // namespace

DateTime DateTime::fromDate(const QDate &date)
{
    return DateTime(static_cast<double>(dateTimeEpoch().daysTo(date)));
}

DateTime DateTime::fromTime(const QTime &time)
{
    return DateTime(static_cast<double>(time.msecsSinceStartOfDay()) / MsecsPerDay);
}

DateTime DateTime::fromDateTime(const QDateTime &dateTime)
{
    const qint64 days = dateTimeEpoch().daysTo(dateTime.date());
    const double fraction = static_cast<double>(dateTime.time().msecsSinceStartOfDay()) / MsecsPerDay;
    return DateTime(days < 0 ? days - fraction : days + fraction);
}

DateTime DateTime::today()
{
    return fromDate(QDate::currentDate());
}

DateTime DateTime::now()
{
    return fromDateTime(QDateTime::currentDateTime());
}

QDate DateTime::date() const
{
    qint64 whole, msecs;
    split(m_days, whole, msecs);
    return dateTimeEpoch().addDays(whole);
}

QTime DateTime::time() const
{
    qint64 whole, msecs;
    split(m_days, whole, msecs);
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(msecs));
}

QDateTime DateTime::toDateTime() const
{
    return QDateTime(date(), time());
}

DateTime DateTime::dateOnly() const
{
    return fromDate(date());
}

DateTime DateTime::addDays(int days) const
{
    return DateTime(m_days + days);
}
