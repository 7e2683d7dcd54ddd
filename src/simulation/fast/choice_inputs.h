#ifndef SKEDOMAT_SIMULATION_FAST_CHOICE_INPUTS_H
#define SKEDOMAT_SIMULATION_FAST_CHOICE_INPUTS_H

#include <cstdint>
#include <vector>

#include "simulation/choice_model.h"
#include "simulation/fast/film_audience.h"

struct Movie;
struct Screening;
struct ScreeningBounds;
struct ViewerColumns;

// What the batched choice model's kernels read for one screening, and the
// per-viewer steps that every kernel takes alike: the chance p = R x T x G x
// q x S of a viewer, from tables of the model's factors, and the test of the
// viewer's draw against it. A draw r is the raw 32-bit output; the model
// compares r x 2^-32 < p, which is exactly r < p x 2^32 because scaling by a
// power of two is exact.

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

// The kernel's inputs for one screening of `movie` over `columns`, whose
// viewers so far are `audience`, with its bounds written to `bounds`.
ChoiceInputs choiceInputsFor(const ViewerColumns& columns,
                             const std::vector<int32_t>& lastDay,
                             const Screening& screening, const Movie& movie,
                             const FilmAudience& audience,
                             ScreeningBounds& bounds);

// Recency entries: d = 0 .. 366 from recencyFactor, 367 for everything older.
const int32_t RecencyEntries = 368;

const double TwoTo32 = 4294967296.0;

// The repeat factors are tabled for the viewing counts 0 (not seen) to
// 1099. From 1073 viewings on the factor underflows to 0.0, so larger
// counts are looked up as 1099 without changing a factor.
const int32_t RepeatCounts = 1100;

inline int32_t minOf(int32_t a, int32_t b) { return a < b ? a : b; }
inline int32_t maxOf(int32_t a, int32_t b) { return a > b ? a : b; }

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

// True when draw r falls below chance p.
inline bool drawsBelow(uint32_t r, double p) {
  return static_cast<double>(r) < p * TwoTo32;
}

#endif  // SKEDOMAT_SIMULATION_FAST_CHOICE_INPUTS_H
