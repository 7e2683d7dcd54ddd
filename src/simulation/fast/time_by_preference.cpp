#include "simulation/fast/time_by_preference.h"

#include <algorithm>

// The distance to a screening, as a function of the preferred time t, is
// made of straight pieces of slope -1, 0 or 1 (see distanceOf): the table
// is filled piece by piece, each a copy of a run of the time factors, read
// forwards or from the reversed table, or one factor repeated, rather than
// one distance and one lookup per minute.

namespace {

// Every point at which the slope of distanceOf may change lies at one of
// the returned values or half-way between one and the next: where the two
// gaps are equal, where going round the day starts to be shorter, and
// where a gap reaches zero.
int32_t slopeChangesOf(const ChoiceInputs& in, int32_t* points) {
  const int32_t s = in.startOfDay;
  const int32_t e = in.endOfDay;
  const int32_t w = in.wrap;
  // Twice the points, so that the half-way ones stay whole.
  const int32_t doubled[7] = {s + e, s + e - w, s + e + w, 2 * s,
                              2 * e, 2 * (s + w), 2 * (e - w)};
  int32_t n = 0;
  for (int32_t d : doubled) {
    // The integers on both sides of the point (floor division by two).
    const int32_t below = d >= 0 ? d / 2 : -((1 - d) / 2);
    points[n++] = below;
    points[n++] = below + 1;
  }
  return n;
}

// table[t] = time[d0 + slope x (t - from)] for t = from .. to - 1; the
// distances stay within 0 .. MaxDistance.
void fillPiece(const double* time, const double* reversedTime, int32_t from,
               int32_t to, int32_t d0, int32_t slope, double* table) {
  const int32_t length = to - from;
  if (slope == 1) {
    std::copy(time + d0, time + d0 + length, table + from);
  } else if (slope == 0) {
    std::fill(table + from, table + to, time[d0]);
  } else {
    // time[d0 - k] is reversedTime[MaxDistance - d0 + k].
    const double* run = reversedTime + (MaxDistance - d0);
    std::copy(run, run + length, table + from);
  }
}

}  // namespace

void reverseTimeFactors(const double* time, double* reversedTime) {
  for (int32_t k = 0; k <= MaxDistance; ++k)
    reversedTime[k] = time[MaxDistance - k];
}

void fillTimeByPreference(const ChoiceInputs& in, const double* reversedTime,
                          double* table) {
  int32_t points[16];
  int32_t n = slopeChangesOf(in, points);
  points[n++] = 0;
  points[n++] = PreferredTimes;
  std::sort(points, points + n);
  for (int32_t i = 0; i + 1 < n; ++i) {
    const int32_t from = std::max(points[i], 0);
    const int32_t to = std::min(points[i + 1], PreferredTimes);
    if (from >= to) continue;
    const int32_t d0 = distanceOf(in, from);
    const int32_t slope = to - from >= 2 ? distanceOf(in, from + 1) - d0 : 0;
    fillPiece(in.time, reversedTime, from, to, d0, slope, table);
  }
}
