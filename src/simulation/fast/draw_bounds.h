#ifndef SKEDOMAT_SIMULATION_FAST_DRAW_BOUNDS_H
#define SKEDOMAT_SIMULATION_FAST_DRAW_BOUNDS_H

#include <cstdint>

#include "simulation/choice_model.h"
#include "simulation/fast/choice_inputs.h"
#include "simulation/fast/time_by_preference.h"

// Bounds on the draws that can fall below a viewer's chance, by genre class
// and distance band, for the first pass of the vector kernel: a draw at or
// above the bound of its viewer's class and band misses, whatever the
// viewer's recency and viewings, and needs no exact test.

// Distances fall into 16 bands of 16 minutes, the last one open-ended:
// few enough for a class's top-byte bounds to be one 16-entry byte table,
// looked up by one shuffle instruction.
const int32_t DistanceBands = 16;

// The band of a distance.
inline int32_t bandOf(int32_t distance) {
  return minOf(distance >> 4, DistanceBands - 1);
}

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

// An integer above every draw r with r x 2^-32 < ceiling, for
// 0 <= ceiling < 1: floor(ceiling x 2^32) + 1 (the scaling is exact, and the
// conversion truncates). It is the smallest such integer unless
// ceiling x 2^32 is itself one.
inline uint32_t drawBoundOf(double ceiling) {
  return static_cast<uint32_t>(static_cast<int64_t>(ceiling * TwoTo32)) + 1;
}

// The largest time factor of each distance band, from time[0 .. 720],
// into ceilings[0 .. DistanceBands - 1].
void findBandTimeCeilings(const double* time, double* ceilings);

// The draw bounds of a screening of a film of rating factor q (see
// ScreeningBounds::draw) into bound[0 .. GenreClasses x DistanceBands - 1],
// from the bands' time ceilings. The chance R x T x G x q x S, multiplied
// left to right, never exceeds (T x G) x q as rounded: R and S are at most
// 1, and rounded multiplication of a non-negative value by a factor of at
// most 1 never increases it, nor does a smaller T give a larger product.
void fillDrawBounds(const double* bandTimeCeilings, double q, uint32_t* bound);

// The top byte of every draw below a draw bound B is at most
// (B - 1) >> 24: a bound on whole draws as one on their top bytes alone.
inline uint8_t topByteBoundOf(uint32_t bound) {
  return static_cast<uint8_t>((bound - 1) >> 24);
}

// Fills bounds.topByte from bounds.draw.
void fillTopByteBounds(ScreeningBounds& bounds);

#endif  // SKEDOMAT_SIMULATION_FAST_DRAW_BOUNDS_H
