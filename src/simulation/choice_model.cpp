#include "simulation/choice_model.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "base/calendar.h"
#include "simulation/random_source.h"
#include "simulation/simulation.h"
#include "submission/screening.h"
#include "testcase/test_case.h"

double ratingFactor(double x) {
  // Linear between the weights 50 (rating 1), 100, 160, 170, 190 (5),
  // 210 (7), 300 and 350 (9), out of 350. Each row is evaluated as written
  // because scores depend on its last bits.
  if (x < 1) return 50.0 / 350.0;
  if (x < 2) return ((2 - x) * 50 + (x - 1) * 100) / 350;
  if (x < 3) return ((3 - x) * 100 + (x - 2) * 160) / 350;
  if (x < 4) return ((4 - x) * 160 + (x - 3) * 170) / 350;
  if (x < 5) return ((5 - x) * 170 + (x - 4) * 190) / 350;
  if (x < 7) return ((7 - x) * 190 + (x - 5) * 210) * 0.5 / 350;
  if (x < 8) return ((8 - x) * 210 + (x - 7) * 300) / 350;
  if (x < 9) return ((9 - x) * 300 + (x - 8) * 350) / 350;
  return 350.0 / 350.0;
}

int32_t timeOfDayDistance(int32_t preferredTime, int64_t start, int64_t end) {
  if (end - start >= MinutesPerDay) return 0;
  const int64_t t = preferredTime;
  const int64_t g = start % MinutesPerDay;  // start as a time of day
  const int64_t h = end % MinutesPerDay;    // end as a time of day
  int64_t distance;
  if (g < h) {
    if (t < g)
      distance = std::min(g - t, t - h + MinutesPerDay);
    else if (t > h)
      distance = std::min(t - h, g - t + MinutesPerDay);
    else
      distance = 0;
  } else {
    // The screening passes midnight.
    if (t >= g || t <= h)
      distance = 0;
    else
      distance = std::min(t - h, g - t);
  }
  return static_cast<int32_t>(distance);
}

void pickRandomPrefix(std::vector<int32_t>& candidates, int32_t k) {
  const int32_t length = static_cast<int32_t>(candidates.size());
  for (int32_t i = 0; i < k; ++i) {
    int32_t j = i + RandomSource::nextBelow(length - i);
    std::swap(candidates[i], candidates[j]);
  }
}

void Simulation::collectCandidates(const Screening& screening,
                                   std::vector<int32_t>& candidates) {
  if (choiceModelPath == ChoiceModelPath::Reference)
    collectReference(screening, candidates);
  else
    collectBatched(screening, candidates);
}

void Simulation::collectReference(const Screening& screening,
                                  std::vector<int32_t>& candidates) {
  const Movie& movie = testCase.movies[screening.movieNo];
  const std::vector<Viewing>& seen = viewings[screening.movieNo];
  const double q = ratingFactor(movie.rating);
  candidates.clear();
  // Viewers come in ascending index and `seen` is sorted by viewer, so one
  // forward cursor finds every viewer's record.
  size_t cursor = 0;
  for (int32_t j = 0; j < testCase.nViewers; ++j) {
    const Viewer& viewer = testCase.viewers[j];
    double t = timeFactorAt(timeOfDayDistance(viewer.preferredTime,
                                              screening.start, screening.end));
    double r = recencyOf(screening.day - lastDay[j]);
    while (cursor < seen.size() && seen[cursor].iViewer < j) ++cursor;
    int32_t nSeen = 0;
    if (cursor < seen.size() && seen[cursor].iViewer == j)
      nSeen = seen[cursor].nSeen;
    double s = repeatFactor(nSeen);
    double g = genreFactor(viewer.genres & movie.genres);
    double p = choiceChance(r, t, g, q, s);
    // Every viewer takes a draw, also one who cannot come.
    if (RandomSource::nextUnit() < p) candidates.push_back(j);
  }
  if (static_cast<int32_t>(candidates.size()) > testCase.nSeats)
    pickRandomPrefix(candidates, testCase.nSeats);
}
