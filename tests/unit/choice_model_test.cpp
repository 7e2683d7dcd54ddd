#include <algorithm>
#include <bitset>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "model_builders.h"
#include "simulation/factor_tables.h"
#include "simulation/random_source.h"
#include "simulation/simulation.h"
#include "submission/screening.h"
#include "testcase/test_case.h"

namespace {

double unitOf(uint32_t output) {
  return std::ldexp(static_cast<double>(output), -32);
}

// The chance of viewer j wanting a ticket, found without the cursor and the
// 16-bit count: the record is searched for, the genres counted as a bitset.
double expectedChance(const Simulation& simulation, const Screening& screening,
                      int32_t j) {
  const TestCase& testCase = simulation.testCase;
  const Movie& movie = testCase.movies[screening.movieNo];
  const Viewer& viewer = testCase.viewers[j];
  int32_t d = screening.day - simulation.lastDay[j];
  double r = d <= 366 ? recencyFactor[d] : 1.0;
  double t = timeFactor[timeOfDayDistance(viewer.preferredTime, screening.start,
                                          screening.end)];
  size_t nShared = std::bitset<32>(viewer.genres & movie.genres).count();
  double g = nShared == 0 ? 0.1 : nShared == 1 ? 0.9 : 1.0;
  double s = 1.0;
  for (const Viewing& viewing : simulation.viewings[screening.movieNo]) {
    if (viewing.iViewer != j) continue;
    s = 0.1;
    for (int32_t m = 1; m < viewing.nSeen; ++m) s /= 2;
  }
  return r * t * g * ratingFactor(movie.rating) * s;
}

// The viewers whose draw, the j-th of the stream, falls below their chance.
std::vector<int32_t> expectedCandidates(const Simulation& simulation,
                                        const Screening& screening,
                                        const std::vector<uint32_t>& outputs) {
  std::vector<int32_t> candidates;
  for (int32_t j = 0; j < simulation.testCase.nViewers; ++j) {
    if (unitOf(outputs[j]) < expectedChance(simulation, screening, j))
      candidates.push_back(j);
  }
  return candidates;
}

// A day's audience of the kind the choice model meets: viewers who prefer
// times from 15:00 to 01:00 around a 19:00 screening, share none, one or
// several genres with the film (also in the upper 16 bits), come back after
// various breaks and have seen the film up to three times.
class ChoiceModelMixedAudience : public ::testing::Test {
 protected:
  static const int32_t NViewers = 3000;
  static const int32_t Day = 40;

  ChoiceModelMixedAudience()
      : testCase(makeTestCase({makeMovie(120, 7.5, genresOf({0, 3, 17, 31}))},
                              mixedViewers(), NViewers)),
        simulation(testCase),
        screening(makeScreening(testCase, 0, Day, 19 * 60)) {
    simulation.reset();
    for (int32_t j = 0; j < NViewers; ++j) {
      const int32_t DaysSince[4] = {367 + Day, 0, 1, 30};
      simulation.lastDay[j] = Day - DaysSince[j % 4];
      if (j % 7 < 3) simulation.viewings[0].push_back(Viewing{j, j % 7 + 1});
    }
  }

  static std::vector<Viewer> mixedViewers() {
    const GenreSet Genres[6] = {genresOf({1}),         genresOf({0}),
                                genresOf({31}),        genresOf({0, 17}),
                                genresOf({3, 17, 31}), genresOf({15, 16})};
    std::vector<Viewer> viewers;
    for (int32_t j = 0; j < NViewers; ++j) {
      int32_t preferred = (15 * 60 + (j * 37) % 600) % 1440;
      viewers.push_back(makeViewer(preferred, Genres[j % 6]));
    }
    return viewers;
  }

  TestCase testCase;
  Simulation simulation;
  Screening screening;
};

TEST_F(ChoiceModelMixedAudience, CandidatesAreTheViewersDrawingBelowTheirChance) {
  std::vector<uint32_t> outputs = streamOf(123, NViewers + 1);
  std::vector<Viewing> viewingsBefore = simulation.viewings[0];
  std::vector<int32_t> lastDayBefore = simulation.lastDay;

  RandomSource::seed(123);
  std::vector<int32_t> candidates = {77, 88};  // left over from a screening
  simulation.collectCandidates(screening, candidates);

  EXPECT_EQ(candidates, expectedCandidates(simulation, screening, outputs));
  EXPECT_GT(candidates.size(), 200u);
  // One draw per viewer, none for the (absent) lottery.
  EXPECT_EQ(RandomSource::next32(), outputs[NViewers]);
  // The run's state is only read.
  EXPECT_EQ(simulation.lastDay, lastDayBefore);
  ASSERT_EQ(simulation.viewings[0].size(), viewingsBefore.size());
  for (size_t i = 0; i < viewingsBefore.size(); ++i) {
    EXPECT_EQ(simulation.viewings[0][i].iViewer, viewingsBefore[i].iViewer);
    EXPECT_EQ(simulation.viewings[0][i].nSeen, viewingsBefore[i].nSeen);
  }
}

TEST_F(ChoiceModelMixedAudience, ViewersWhoWentTodayNeverComeButStillDraw) {
  for (int32_t j = 0; j < NViewers; ++j) simulation.lastDay[j] = Day;
  std::vector<uint32_t> outputs = streamOf(124, NViewers + 1);
  RandomSource::seed(124);
  std::vector<int32_t> candidates;
  simulation.collectCandidates(screening, candidates);
  EXPECT_TRUE(candidates.empty());
  EXPECT_EQ(RandomSource::next32(), outputs[NViewers]);
}

TEST_F(ChoiceModelMixedAudience, LotteryRunsOnlyWithMoreCandidatesThanSeats) {
  std::vector<uint32_t> outputs = streamOf(125, NViewers + 1000);
  std::vector<int32_t> everyone = expectedCandidates(simulation, screening, outputs);
  const int32_t nWanting = static_cast<int32_t>(everyone.size());
  ASSERT_GT(nWanting, 2);

  // As many seats as candidates: no lottery, no draw beyond the viewers'.
  testCase.nSeats = nWanting;
  RandomSource::seed(125);
  std::vector<int32_t> candidates;
  simulation.collectCandidates(screening, candidates);
  EXPECT_EQ(candidates, everyone);
  EXPECT_EQ(RandomSource::next32(), outputs[NViewers]);

  // One seat fewer: a lottery of nSeats steps, each swapping position i with
  // a position drawn from i .. L - 1.
  testCase.nSeats = nWanting - 1;
  std::vector<int32_t> lottery = everyone;
  for (int32_t i = 0; i < testCase.nSeats; ++i) {
    uint32_t remaining = static_cast<uint32_t>(nWanting - i);
    std::swap(lottery[i], lottery[i + outputs[NViewers + i] % remaining]);
  }
  RandomSource::seed(125);
  simulation.collectCandidates(screening, candidates);
  EXPECT_EQ(candidates, lottery);
  EXPECT_EQ(RandomSource::next32(), outputs[NViewers + testCase.nSeats]);
}

TEST(ChoiceModelTest, ChanceOfANewViewerSharingOneGenre) {
  // Preferred time 20:00, screening 18:00 to 20:00, rating 8.5, one shared
  // genre, never at the cinema, film not seen.
  const int32_t NViewers = 2000;
  TestCase testCase = makeTestCase(
      {makeMovie(120, 8.5, genresOf({2, 20}))},
      std::vector<Viewer>(NViewers, makeViewer(20 * 60, genresOf({20, 5}))),
      NViewers);
  Simulation simulation(testCase);
  simulation.reset();
  Screening screening = makeScreening(testCase, 0, 100, 18 * 60);

  double p = 1.0 * 0.9890130573694068 * 0.9 * (325.0 / 350.0) * 1.0;
  EXPECT_NEAR(p, 0.826532, 5e-7);
  EXPECT_EQ(expectedChance(simulation, screening, 0), p);

  std::vector<uint32_t> outputs = streamOf(123, NViewers);
  std::vector<int32_t> expected;
  for (int32_t j = 0; j < NViewers; ++j)
    if (unitOf(outputs[j]) < p) expected.push_back(j);
  RandomSource::seed(123);
  std::vector<int32_t> candidates;
  simulation.collectCandidates(screening, candidates);
  EXPECT_EQ(candidates, expected);
}

TEST(ChoiceModelTest, RepeatFactorHalvesWithEveryViewing) {
  // Groups of viewers who have seen the film 0, 1, 2 and 3 times; their
  // chances are 1, 0.1, 0.05 and 0.025 times that of the first group.
  const int32_t GroupSize = 4000;
  TestCase testCase = makeTestCase(
      {makeMovie(100, 10.0, genresOf({4, 9}))},
      std::vector<Viewer>(4 * GroupSize, makeViewer(600, genresOf({4, 9}))),
      4 * GroupSize);
  Simulation simulation(testCase);
  simulation.reset();
  for (int32_t j = GroupSize; j < 4 * GroupSize; ++j)
    simulation.viewings[0].push_back(Viewing{j, j / GroupSize});
  Screening screening = makeScreening(testCase, 0, 7, 600);

  const double Full = timeFactor[0];
  const double Expected[4] = {Full, Full * 0.1, Full * 0.05, Full * 0.025};
  std::vector<uint32_t> outputs = streamOf(124, 4 * GroupSize);
  std::vector<int32_t> expected;
  for (int32_t j = 0; j < 4 * GroupSize; ++j)
    if (unitOf(outputs[j]) < Expected[j / GroupSize]) expected.push_back(j);

  RandomSource::seed(124);
  std::vector<int32_t> candidates;
  simulation.collectCandidates(screening, candidates);
  EXPECT_EQ(candidates, expected);
}

TEST(ChoiceModelTest, PickRandomPrefixSwapsForwardFromTheDrawnPositions) {
  std::vector<uint32_t> outputs = streamOf(123, 4);
  std::vector<int32_t> expected = {10, 20, 30, 40, 50};
  for (uint32_t i = 0; i < 3; ++i)
    std::swap(expected[i], expected[i + outputs[i] % (5 - i)]);

  RandomSource::seed(123);
  std::vector<int32_t> list = {10, 20, 30, 40, 50};
  pickRandomPrefix(list, 3);
  EXPECT_EQ(list, expected);
  EXPECT_EQ(RandomSource::next32(), outputs[3]);

  // No seats: nothing moves and nothing is drawn.
  RandomSource::seed(123);
  list = {10, 20, 30};
  pickRandomPrefix(list, 0);
  EXPECT_EQ(list, (std::vector<int32_t>{10, 20, 30}));
  EXPECT_EQ(RandomSource::next32(), outputs[0]);
}

}  // namespace
