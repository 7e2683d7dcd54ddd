#ifndef SKEDOMAT_SIMULATION_FACTOR_TABLES_H
#define SKEDOMAT_SIMULATION_FACTOR_TABLES_H

#include <cstdint>

#include "base/calendar.h"

// The constant tables of the viewer choice model, rebuilt at the start of
// every run; every entry is bit-identical on every platform.
const int32_t RecencyDays = DaysPerYear + 1;       // recencyFactor[d], d = 0 .. 366
const int32_t TimeDistances = LastMinuteOfDay + 1;  // timeFactor[k], k = 0 .. 1439
const int32_t BitCountEntries = 65536;

extern double recencyFactor[RecencyDays];
extern double timeFactor[TimeDistances];
extern int32_t bitCount16[BitCountEntries];

// Fills recencyFactor, timeFactor and bitCount16.
void buildFactorTables();

// The rating factor of a film's rating, 50/350 .. 1.0.
double ratingFactor(double rating);

// Minutes, around the 24-hour clock, from `preferredTime` (a time of day) to
// the nearest minute of a screening occupying start .. end (minutes of the
// year); 0 .. 720.
int32_t timeOfDayDistance(int32_t preferredTime, int64_t start, int64_t end);

#endif  // SKEDOMAT_SIMULATION_FACTOR_TABLES_H
