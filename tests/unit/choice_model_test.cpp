#include <algorithm>
#include <bitset>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "model_builders.h"
#include "simulation/choice_model.h"
#include "simulation/factor_tables.h"
#include "simulation/random_source.h"
#include "simulation/simulation.h"
#include "submission/screening.h"
#include "testcase/test_case.h"

namespace {

// Minutes of the year of day `day` at `hour`:`minute`.
int64_t minuteOfYear(int32_t day, int32_t hour, int32_t minute) {
  return int64_t(day) * 1440 + hour * 60 + minute;
}

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

TEST(ChoiceModelTest, RatingFactorFollowsTheWeights) {
  EXPECT_EQ(ratingFactor(0.0), 50.0 / 350.0);
  EXPECT_EQ(ratingFactor(0.5), 50.0 / 350.0);
  EXPECT_EQ(ratingFactor(1.0), 50.0 / 350.0);
  EXPECT_EQ(ratingFactor(1.5), 75.0 / 350.0);
  EXPECT_EQ(ratingFactor(2.0), 100.0 / 350.0);
  EXPECT_EQ(ratingFactor(3.0), 160.0 / 350.0);
  EXPECT_EQ(ratingFactor(4.0), 170.0 / 350.0);
  EXPECT_EQ(ratingFactor(5.0), 190.0 / 350.0);
  EXPECT_EQ(ratingFactor(6.0), 200.0 / 350.0);  // no knot at 6
  EXPECT_EQ(ratingFactor(7.0), 210.0 / 350.0);
  EXPECT_EQ(ratingFactor(7.5), 255.0 / 350.0);
  EXPECT_EQ(ratingFactor(8.0), 300.0 / 350.0);
  EXPECT_EQ(ratingFactor(8.5), 325.0 / 350.0);
  EXPECT_EQ(ratingFactor(9.0), 1.0);
  EXPECT_EQ(ratingFactor(10.0), 1.0);
}

TEST(ChoiceModelTest, RatingFactorEvaluatesEachRowAsWritten) {
  // Two products, their sum, the division: interpolating as
  // 210 + (x - 7) * 90 would give 0.6771428571428572 and
  // 300 + (x - 8) * 50 would give 0.9000000000000001.
  EXPECT_EQ(ratingFactor(7.3), 0.677142857142857);
  EXPECT_EQ(ratingFactor(8.3), 0.9);
}

TEST(ChoiceModelTest, DistanceWithinTheDay) {
  // 18:00 to 20:00; both ends count as inside.
  int64_t start = minuteOfYear(3, 18, 0);
  int64_t end = start + 120;
  EXPECT_EQ(timeOfDayDistance(1200, start, end), 0);
  EXPECT_EQ(timeOfDayDistance(1080, start, end), 0);
  EXPECT_EQ(timeOfDayDistance(1201, start, end), 1);
  EXPECT_EQ(timeOfDayDistance(1079, start, end), 1);

  // 10:00 to 12:00.
  start = minuteOfYear(0, 10, 0);
  end = start + 120;
  EXPECT_EQ(timeOfDayDistance(9 * 60, start, end), 60);
  EXPECT_EQ(timeOfDayDistance(13 * 60 + 30, start, end), 90);
  EXPECT_EQ(timeOfDayDistance(22 * 60, start, end), 600);  // not 720
  EXPECT_EQ(timeOfDayDistance(1439, start, end), 601);     // round midnight
  EXPECT_EQ(timeOfDayDistance(0, start, end), 600);

  // The same screening on the last day of the year.
  start = minuteOfYear(365, 10, 0);
  end = start + 120;
  EXPECT_EQ(timeOfDayDistance(9 * 60, start, end), 60);
}

TEST(ChoiceModelTest, DistanceOfAScreeningPassingMidnight) {
  // 23:00 to 01:00.
  int64_t start = minuteOfYear(10, 23, 0);
  int64_t end = start + 120;
  EXPECT_EQ(timeOfDayDistance(30, start, end), 0);
  EXPECT_EQ(timeOfDayDistance(23 * 60 + 30, start, end), 0);
  EXPECT_EQ(timeOfDayDistance(12 * 60, start, end), 660);
  EXPECT_EQ(timeOfDayDistance(61, start, end), 1);
  EXPECT_EQ(timeOfDayDistance(1379, start, end), 1);

  // 22:00 to exactly midnight: the end is time of day 0.
  start = minuteOfYear(10, 22, 0);
  end = start + 120;
  EXPECT_EQ(timeOfDayDistance(0, start, end), 0);
  EXPECT_EQ(timeOfDayDistance(1, start, end), 1);
  EXPECT_EQ(timeOfDayDistance(21 * 60, start, end), 60);
}

TEST(ChoiceModelTest, DistanceOfAScreeningOfAWholeDayOrLonger) {
  int64_t start = minuteOfYear(5, 10, 0);
  for (int64_t length : {int64_t(1440), int64_t(1441), int64_t(5000)}) {
    for (int32_t t : {0, 599, 600, 720, 1439})
      EXPECT_EQ(timeOfDayDistance(t, start, start + length), 0)
          << "length " << length << ", preferred time " << t;
  }
  // One minute short of a day still leaves the minute before the start
  // inside, as the end.
  EXPECT_EQ(timeOfDayDistance(599, start, start + 1439), 0);
}

TEST(ChoiceModelTest, GenreClassesEqualTheBitCount) {
  buildFactorTables();
  // Runs of every length 0 .. 32 starting at every genre (wrapping round
  // bit 31), and every pair of genres.
  std::vector<GenreSet> sets;
  for (int32_t n = 0; n <= 32; ++n) {
    const GenreSet run = n == 32 ? ~GenreSet(0) : (GenreSet(1) << n) - 1;
    sets.push_back(run);
    for (int32_t r = 1; r < 32; ++r) sets.push_back(run << r | run >> (32 - r));
  }
  for (int32_t a = 0; a < 32; ++a)
    for (int32_t b = a + 1; b < 32; ++b)
      sets.push_back(GenreSet(1) << a | GenreSet(1) << b);
  for (GenreSet shared : sets) {
    const int32_t n = bitCount16[shared & 0xFFFF] + bitCount16[shared >> 16];
    ASSERT_EQ(n, static_cast<int32_t>(std::bitset<32>(shared).count()));
    ASSERT_EQ(genreFactor(shared), n == 0 ? 0.1 : n == 1 ? 0.9 : 1.0)
        << "genres " << shared;
  }
}

}  // namespace
