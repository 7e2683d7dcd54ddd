#ifndef SKEDOMAT_SIMULATION_FAST_TIME_BY_PREFERENCE_H
#define SKEDOMAT_SIMULATION_FAST_TIME_BY_PREFERENCE_H

#include <cstdint>

#include "base/calendar.h"
#include "simulation/fast/choice_inputs.h"

// A screening's time factor by preferred time, filled once per screening,
// so that the exact test of a viewer looks the factor up by the preferred
// time instead of finding the distance first.

// The preferred times of day, 0 .. 1439.
const int32_t PreferredTimes = LastMinuteOfDay + 1;

// Filling a screening's table by preferred time costs about as much as
// finding the distances of a few hundred viewers that pass the first test
// of the vector kernel, some 6% of them; below this many viewers the
// kernel finds the distances instead.
const int32_t MinViewersForTimeTable = 4 * PreferredTimes;

// reversedTime[k] = time[MaxDistance - k] for k = 0 .. MaxDistance.
void reverseTimeFactors(const double* time, double* reversedTime);

// Fills table[t] = in.time[distanceOf(in, t)] for t = 0 .. 1439, with
// in.time reversed by reverseTimeFactors in `reversedTime`.
void fillTimeByPreference(const ChoiceInputs& in, const double* reversedTime,
                          double* table);

#endif  // SKEDOMAT_SIMULATION_FAST_TIME_BY_PREFERENCE_H
