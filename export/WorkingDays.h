#pragma once

#include "startup/DateTime.h"

#include <QDate>

// The Hungarian working-day calendar and the date rates are written under.

QDate easterMonday(int year);

// Weekends and the ten public holidays are days off.
bool isWorkingDay(DateTime value);

// The day offset of a "Dátum képzés" choice, 0 to 4 for T-2 to T+2; 0 when
// nothing is chosen.
int dayOffsetOfDatumIndex(int datumIndex);

// The rate day shifted by dayOffset whole days, then moved forward to the
// next working day; the time of day stays.
DateTime rateWriteDate(DateTime rateDay, int dayOffset);
