#ifndef SKEDOMAT_SIMULATION_SCREENING_BOUNDS_H
#define SKEDOMAT_SIMULATION_SCREENING_BOUNDS_H

#include <cstdint>

#include "base/calendar.h"
#include "simulation/choice_model.h"

// Distances fall into 16 bands of 16 minutes, the last one open-ended:
// few enough for a class's top-byte bounds to be one 16-entry byte table,
// looked up by one shuffle instruction.
const int32_t DistanceBands = 16;

// The preferred times of day, 0 .. 1439.
const int32_t PreferredTimes = LastMinuteOfDay + 1;

// The bounds of one screening, and its time factors by preferred time.
struct ScreeningBounds {
  // draw[DistanceBands x c + b] for the genre classes c and the distance
  // bands b (see genreClassOf and bandOf): an integer above every draw that
  // can fall below the chance of a viewer of class c at a distance of band
  // b (see fillDrawBounds).
  uint32_t draw[GenreClasses * DistanceBands];
  // topByte[b] for viewers who share no genre with the film and
  // topByte[DistanceBands + b] for those who share one or more: the
  // top-byte bound of the draw bound of their class (class 2 for one or
  // more: it is the larger), at distance band b.
  alignas(16) uint8_t topByte[2 * DistanceBands];
  // The time factor by preferred time, for the exact test of the few
  // viewers that the bounds let through.
  double timeByPreference[PreferredTimes];
};

#endif  // SKEDOMAT_SIMULATION_SCREENING_BOUNDS_H
