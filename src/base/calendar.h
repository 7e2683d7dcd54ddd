#ifndef SKEDOMAT_BASE_CALENDAR_H
#define SKEDOMAT_BASE_CALENDAR_H

#include <cstdint>

// The year of a schedule, in the whole minutes and days everything counts
// in: 366 days (0 .. 365) of 1440 minutes (0 .. 1439). A moment of the year
// is day * MinutesPerDay + minute of the day. The minute counts are 64-bit
// so that no day or running time in a file can make a product wrap.

const int32_t DaysPerYear = 366;
const int32_t LastDay = DaysPerYear - 1;

const int64_t MinutesPerDay = 1440;
const int32_t LastMinuteOfDay = static_cast<int32_t>(MinutesPerDay) - 1;

const int64_t MinutesPerYear = DaysPerYear * MinutesPerDay;

// The day of a viewer's last visit before any visit: more than a year back,
// so that the longest gap the recency of a visit knows applies.
const int32_t NeverVisitedDay = -(DaysPerYear + 1);

#endif  // SKEDOMAT_BASE_CALENDAR_H
