#ifndef SKEDOMAT_SIMULATION_CHOICE_MODEL_H
#define SKEDOMAT_SIMULATION_CHOICE_MODEL_H

#include <cmath>
#include <cstdint>
#include <vector>

#include "simulation/factor_tables.h"
#include "testcase/genres.h"

// The viewer choice model as it is defined. The chance that a viewer wants a
// ticket for a screening is the product R x T x G x q x S of five factors:
// recency, time of day, genres, the film's rating and the viewer's earlier
// viewings of it. Every viewer takes one draw against the chance; when more
// want a ticket than there are seats, a lottery seats the winners. The
// factors are inline where the faster paths call them for every viewer.

// R: how ready a viewer is for the cinema `daysSinceLastVisit` (>= 0) days
// after the last visit; more than a year counts as never.
inline double recencyOf(int32_t daysSinceLastVisit) {
  if (daysSinceLastVisit >= RecencyDays) return 1.0;
  return recencyFactor[daysSinceLastVisit];
}

// Minutes, around the 24-hour clock, from `preferredTime` (a time of day) to
// the nearest minute of a screening occupying start .. end (minutes of the
// year); 0 .. MaxDistance.
int32_t timeOfDayDistance(int32_t preferredTime, int64_t start, int64_t end);

// The largest time-of-day distance: half a day.
const int32_t MaxDistance = 720;

// T: the factor of a viewer whose preferred time lies `distance` minutes
// from the screening.
inline double timeFactorAt(int32_t distance) { return timeFactor[distance]; }

// G: the genre classes in the order of their factors: no genre shared with
// the film, exactly one, more.
const int32_t GenreClasses = 3;
const double GenreClassFactors[GenreClasses] = {0.1, 0.9, 1.0};

// The class of the genres a viewer shares with a film. x & (x - 1) clears
// the lowest bit, so it is 0 exactly when at most one bit is set: the same
// classes as counting the bits.
inline int32_t genreClassOf(GenreSet shared) {
  if (shared == 0) return 0;
  return (shared & (shared - 1)) == 0 ? 1 : 2;
}

inline double genreFactor(GenreSet shared) {
  return GenreClassFactors[genreClassOf(shared)];
}

// q: the factor of a film's rating, 50/350 .. 1.0.
double ratingFactor(double rating);

// S: 1.0 for a viewer who has not seen the film; 0.1 for one who has seen it
// once, halved with every further viewing (exact: only the exponent moves).
inline double repeatFactor(int32_t nSeen) {
  if (nSeen == 0) return 1.0;
  return std::ldexp(0.1, 1 - nSeen);
}

// The chance R x T x G x q x S, multiplied left to right: the last bits of
// every score depend on the order.
inline double choiceChance(double r, double t, double g, double q, double s) {
  return r * t * g * q * s;
}

// The lottery: fills the first k positions of `candidates` (k < its length)
// with a uniformly random selection of its entries, in random order.
void pickRandomPrefix(std::vector<int32_t>& candidates, int32_t k);

#endif  // SKEDOMAT_SIMULATION_CHOICE_MODEL_H
