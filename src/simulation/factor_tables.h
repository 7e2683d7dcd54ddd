#ifndef SKEDOMAT_SIMULATION_FACTOR_TABLES_H
#define SKEDOMAT_SIMULATION_FACTOR_TABLES_H

#include <cstdint>

#include "base/calendar.h"

// The constant tables of the viewer choice model (see choice_model.h),
// rebuilt at the start of every run; every entry is bit-identical on every
// platform.
const int32_t RecencyDays = DaysPerYear + 1;       // recencyFactor[d], d = 0 .. 366
const int32_t TimeDistances = LastMinuteOfDay + 1;  // timeFactor[k], k = 0 .. 1439
const int32_t BitCountEntries = 65536;

extern double recencyFactor[RecencyDays];
extern double timeFactor[TimeDistances];
extern int32_t bitCount16[BitCountEntries];

// Fills recencyFactor, timeFactor and bitCount16.
void buildFactorTables();

#endif  // SKEDOMAT_SIMULATION_FACTOR_TABLES_H
