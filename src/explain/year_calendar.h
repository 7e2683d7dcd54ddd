#ifndef SKEDOMAT_EXPLAIN_YEAR_CALENDAR_H
#define SKEDOMAT_EXPLAIN_YEAR_CALENDAR_H

#include <cstdint>
#include <string>

#include "base/calendar.h"

// The schedule's year as a calendar for people: 366 days from 1 January,
// February with 29 days, months by their Slovenian short names.

const int MonthsPerYear = 12;

// "jan" .. "dec" for the months 0 .. 11.
const char* monthName(int month);

// The number of days of month 0 .. 11.
int32_t monthLength(int month);

// The date of a day of the year 0 .. 365, as "15. feb"; "?" outside.
std::string dateOf(int32_t day);

#endif  // SKEDOMAT_EXPLAIN_YEAR_CALENDAR_H
