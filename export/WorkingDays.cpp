#include "export/WorkingDays.h"

#include <algorithm>
#include <array>

namespace {
std::array<QDate, 10> publicHolidays(int year)
{
    const QDate monday = easterMonday(year);
    return {QDate(year, 1, 1),   QDate(year, 3, 15), monday,
            QDate(year, 5, 1),   monday.addDays(49), QDate(year, 8, 20),
            QDate(year, 10, 23), QDate(year, 11, 1), QDate(year, 12, 25),
            QDate(year, 12, 26)};
}

// Saturdays worked and weekdays given off by decree, by year. None are
// recorded yet; a year's decree goes here.
struct CalendarExceptions {
    int year;
    std::array<QDate, 6> workingSaturdays;
    std::array<QDate, 6> extraRestDays;
};
constexpr std::array<CalendarExceptions, 0> Exceptions{};

bool listed(const QDate &date, bool workingSaturday)
{
    return std::any_of(Exceptions.begin(), Exceptions.end(), [&](const CalendarExceptions &e) {
        if (e.year != date.year())
            return false;
        const auto &days = workingSaturday ? e.workingSaturdays : e.extraRestDays;
        return std::find(days.begin(), days.end(), date) != days.end();
    });
}
} // namespace

QDate easterMonday(int year)
{
    // Gauss's method, Gregorian constants M = 24, N = 5 (exact 1900–2099).
    const int a = year % 19, b = year % 4, c = year % 7;
    const int d = (19 * a + 24) % 30;
    const int e = (2 * b + 4 * c + 6 * d + 5) % 7;
    int day = 22 + d + e;
    int month = 3;
    if (day > 31) {
        day -= 31;
        month = 4;
    }
    QDate sunday(year, month, day);
    if (month == 4 && (day == 26 || (d == 28 && e == 6 && a > 10)))
        sunday = sunday.addDays(-7);
    return sunday.addDays(1);
}

bool isWorkingDay(DateTime value)
{
    // The calendar date decides, also for a value with a time of day: a rate
    // stamped 10:15 on 15 March still falls on the holiday.
    const QDate date = value.date();
    const auto holidays = publicHolidays(date.year());
    bool working = std::find(holidays.begin(), holidays.end(), date) == holidays.end() && date.dayOfWeek() < 6;
    if (date.dayOfWeek() == 6 && listed(date, true))
        working = true;
    if (working && listed(date, false))
        working = false;
    return working;
}

int dayOffsetOfDatumIndex(int datumIndex)
{
    return datumIndex >= 0 && datumIndex <= 4 ? datumIndex - 2 : 0;
}

DateTime rateWriteDate(DateTime rateDay, int dayOffset)
{
    DateTime value = rateDay.addDays(dayOffset);
    while (!isWorkingDay(value))
        value = value.addDays(1);
    return value;
}
