#include <cstddef>
#include <utility>

#include "simulation/choice_kernels.h"
#include "simulation/factor_tables.h"
#include "simulation/random_source.h"
#include "simulation/simulation.h"
#include "submission/screening.h"
#include "testcase/test_case.h"

namespace {

// How ready a viewer is for the cinema `daysSinceLastVisit` days after the
// last visit; more than a year counts as never.
double recency(int32_t daysSinceLastVisit) {
  if (daysSinceLastVisit >= RecencyDays) return 1.0;
  return recencyFactor[daysSinceLastVisit];
}

// How much a viewer wants a film by the genres they share.
double genreFactor(GenreSet shared) {
  int32_t nShared = bitCount16[shared & 0xFFFF] + bitCount16[shared >> 16];
  if (nShared == 0) return 0.1;
  if (nShared == 1) return 0.9;
  return 1.0;
}

}  // namespace

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
    double t = timeFactor[timeOfDayDistance(viewer.preferredTime,
                                            screening.start, screening.end)];
    double r = recency(screening.day - lastDay[j]);
    while (cursor < seen.size() && seen[cursor].iViewer < j) ++cursor;
    double s = 1.0;
    if (cursor < seen.size() && seen[cursor].iViewer == j)
      s = repeatFactor(seen[cursor].nSeen);
    double g = genreFactor(viewer.genres & movie.genres);
    double p = r * t * g * q * s;
    // Every viewer takes a draw, also one who cannot come.
    if (RandomSource::nextUnit() < p) candidates.push_back(j);
  }
  if (static_cast<int32_t>(candidates.size()) > testCase.nSeats)
    pickRandomPrefix(candidates, testCase.nSeats);
}
