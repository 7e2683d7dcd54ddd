#ifndef SKEDOMAT_SIMULATION_CHOICE_KERNELS_H
#define SKEDOMAT_SIMULATION_CHOICE_KERNELS_H

#include <cmath>
#include <cstdint>
#include <vector>

#include "simulation/choice_model.h"
#include "simulation/film_audience.h"
#include "simulation/viewer_columns.h"

struct Movie;
struct Screening;

// The inner loop of the batched choice model: for a range of viewers, the
// chance p = R x T x G x q x S of each (multiplied in this order, as the
// reference model does) and the test of the viewer's draw against it.
// A draw r is the raw 32-bit output; the reference compares r x 2^-32 < p,
// which is exactly r < p x 2^32 because scaling by a power of two is exact.

// Everything a kernel reads for one screening.
struct ChoiceInputs {
  // Per viewer, indexed by viewer.
  const int16_t* preferredTime;
  const uint32_t* genres;
  const int32_t* lastDay;
  // S by viewer: repeatFactors[n] for the n viewings of the film by viewer
  // j, capped at RepeatCounts - 1 (see repeatFactorOf): the audience's codes
  // are n for those who have seen it at most twice.
  const uint64_t* seenCodes;
  const FilmAudience* audience;
  const double* repeatFactors;
  // Tables: recency[d] for d = 0 .. 367 (367: never or long ago, 1.0) and
  // time[k] for k = 0 .. 1439.
  const double* recency;
  const double* time;
  // The top-byte bounds of the screening (see ScreeningBounds::topByte).
  const uint8_t* topByteBound;
  // Preferred times of the complete groups of VectorGroup viewers, each
  // group in the lane order of the vector kernel (see ViewerColumns).
  const int16_t* groupedTime;
  // The screening's time factor by preferred time t = 0 .. 1439:
  // time[distanceOf(t)] (see fillTimeByPreference); null for a test case
  // of fewer than MinViewersForTimeTable viewers.
  const double* timeByPreference;
  // The screening. The distance of preferred time t is
  // max(0, min(max(a, b), min(a, b) + wrap)) with a = startOfDay - t and
  // b = t - endOfDay; see distanceOf.
  int32_t startOfDay;
  int32_t endOfDay;
  int32_t wrap;
  int32_t day;
  uint32_t movieGenres;
  double rating;  // q
};

// Tests the viewers first .. first + count - 1 against the draws
// draws[0 .. count - 1] and writes the indices of those who want a ticket,
// ascending, to selected[0 ..]; returns how many. `selected` must have room
// for count + 8 entries (vector kernels store whole registers).
typedef int32_t (*ChoiceKernel)(const ChoiceInputs& inputs, int32_t first,
                                int32_t count, const uint32_t* draws,
                                int32_t* selected);

int32_t selectViewersPortable(const ChoiceInputs& inputs, int32_t first,
                              int32_t count, const uint32_t* draws,
                              int32_t* selected);
// The next two exist in every build but may only be called when the
// matching processorRuns... function is true.
int32_t selectViewersSse2(const ChoiceInputs& inputs, int32_t first,
                          int32_t count, const uint32_t* draws,
                          int32_t* selected);
int32_t selectViewersAvx2(const ChoiceInputs& inputs, int32_t first,
                          int32_t count, const uint32_t* draws,
                          int32_t* selected);

bool processorRunsSse2Kernel();
bool processorRunsAvx2Kernel();

// Recency entries: d = 0 .. 366 from recencyFactor, 367 for everything older.
const int32_t RecencyEntries = 368;

const double TwoTo32 = 4294967296.0;

// The repeat factors are tabled for the viewing counts 0 (not seen) to
// 1099. From 1073 viewings on the factor underflows to 0.0, so larger
// counts are looked up as 1099 without changing a factor.
const int32_t RepeatCounts = 1100;

inline int32_t minOf(int32_t a, int32_t b) { return a < b ? a : b; }
inline int32_t maxOf(int32_t a, int32_t b) { return a > b ? a : b; }

// The band of a distance (see DistanceBands).
inline int32_t bandOf(int32_t distance) {
  return minOf(distance >> 4, DistanceBands - 1);
}

// The AVX2 kernel tests viewers in groups of 32, from a viewer index that is
// a multiple of 32. It narrows the draws to their top bytes with two rounds
// of packing instructions, which interleave the halves of their registers;
// so that the times line up with the draws without reordering at run time,
// the preferred times of a group are stored in the order of the packed
// 16-bit values, in which position P holds the group's viewer P with bits 2
// and 3 swapped (ViewerColumns::groupedTime).
const int32_t VectorGroup = 32;
inline int32_t groupedViewerOf(int32_t position) {
  return (position & ~12) | (position & 4) << 1 | (position & 8) >> 1;
}

// The time-of-day distance of preferred time t to the screening.
inline int32_t distanceOf(const ChoiceInputs& in, int32_t t) {
  const int32_t a = in.startOfDay - t;
  const int32_t b = t - in.endOfDay;
  return maxOf(0, minOf(maxOf(a, b), minOf(a, b) + in.wrap));
}

// The repeat factor S of viewer j: the count of a viewer who has seen the
// film at most twice is the code itself, only the few who have seen it more
// often are looked up.
inline double repeatFactorOf(const ChoiceInputs& in, int32_t j) {
  const int32_t code = seenCodeOf(in.seenCodes, j);
  if (code != SeenMore) return in.repeatFactors[code];
  return in.repeatFactors[minOf(in.audience->countOf(j), RepeatCounts - 1)];
}

// The chance of viewer j, as the model multiplies it.
inline double chanceOf(const ChoiceInputs& in, int32_t j) {
  const double t = in.time[distanceOf(in, in.preferredTime[j])];
  const double r =
      in.recency[minOf(in.day - in.lastDay[j], RecencyEntries - 1)];
  const double g = genreFactor(in.genres[j] & in.movieGenres);
  const double s = repeatFactorOf(in, j);
  return choiceChance(r, t, g, in.rating, s);
}

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

// Fills bounds.topByte from bounds.draw.
void fillTopByteBounds(ScreeningBounds& bounds);

// The kernel's inputs for one screening of `movie` over `columns`, whose
// viewers so far are `audience`, with its bounds written to `bounds`.
ChoiceInputs choiceInputsFor(const ViewerColumns& columns,
                             const std::vector<int32_t>& lastDay,
                             const Screening& screening, const Movie& movie,
                             const FilmAudience& audience,
                             ScreeningBounds& bounds);

// True when draw r falls below chance p.
inline bool drawsBelow(uint32_t r, double p) {
  return static_cast<double>(r) < p * TwoTo32;
}

#endif  // SKEDOMAT_SIMULATION_CHOICE_KERNELS_H
