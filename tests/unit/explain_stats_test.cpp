#include "explain/screening_stats.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "base/number_format.h"
#include "explain/screening_table.h"
#include "model_builders.h"
#include "simulation/random_source.h"
#include "simulation/simulation.h"
#include "submission/submission.h"
#include "testcase/test_case.h"

namespace {

// Plays run `run` both ways; the stats' tickets, and Simulation::run's.
int32_t playBoth(const TestCase& testCase, const Submission& submission,
                 uint32_t seed, ScreeningStats& stats) {
  RandomSource::seed(seed);
  Simulation recorded(testCase);
  stats.playRun(recorded, submission);
  RandomSource::seed(seed);
  Simulation plain(testCase);
  plain.run(submission);
  EXPECT_EQ(plain.nTicketsSold, recorded.nTicketsSold) << "seed " << seed;
  return recorded.nTicketsSold;
}

// The worked run: one seat, three viewers, two films, three screenings
// (listed here out of start order).
class ExplainStatsWorkedRun : public ::testing::Test {
 protected:
  ExplainStatsWorkedRun()
      : testCase(workedRunTestCase()),
        schedule(scheduleInStartOrder({makeScreening(testCase, 0, 1, 19 * 60),
                               makeScreening(testCase, 0, 0, 19 * 60),
                               makeScreening(testCase, 1, 0, 21 * 60 + 30)})) {}

  TestCase testCase;
  Submission schedule;
};

TEST_F(ExplainStatsWorkedRun, RecordsDemandTicketsSellOutsAndNewcomers) {
  ScreeningStats stats;
  EXPECT_EQ(2, playBoth(testCase, schedule, 123, stats));
  ASSERT_EQ(3u, stats.tallies().size());
  // File order: day 1 first. Two wanted the one seat of day 0 at 19:00.
  const ScreeningTally& first = stats.tallies()[1];
  EXPECT_EQ(2, first.nDemand);
  EXPECT_EQ(1, first.nTickets);
  EXPECT_EQ(1, first.nSoldOut);
  EXPECT_EQ(1, first.nFirstTime);
  // Nobody came at 21:30.
  const ScreeningTally& second = stats.tallies()[2];
  EXPECT_EQ(0, second.nDemand);
  EXPECT_EQ(0, second.nTickets);
  EXPECT_EQ(0, second.nSoldOut);
  // Viewer 1, turned away on day 0, sees the film for the first time.
  const ScreeningTally& third = stats.tallies()[0];
  EXPECT_EQ(1, third.nDemand);
  EXPECT_EQ(1, third.nTickets);
  EXPECT_EQ(1, third.nSoldOut);
  EXPECT_EQ(1, third.nFirstTime);
}

TEST_F(ExplainStatsWorkedRun, SumsOverRunsAndTakesMeans) {
  ScreeningStats stats;
  int64_t total = 0;
  for (uint32_t seed = 123; seed < 126; ++seed)
    total += playBoth(testCase, schedule, seed, stats);
  EXPECT_EQ(3, stats.nRuns());
  int64_t recorded = 0;
  double means = 0;
  for (size_t i = 0; i < stats.tallies().size(); ++i) {
    recorded += stats.tallies()[i].nTickets;
    means += stats.meanTickets(i);
    EXPECT_DOUBLE_EQ(stats.tallies()[i].nDemand / 3.0, stats.meanDemand(i));
    EXPECT_DOUBLE_EQ(stats.tallies()[i].nFirstTime / 3.0, stats.meanFirstTime(i));
  }
  EXPECT_EQ(total, recorded);
  EXPECT_NEAR(total / 3.0, means, 1e-12);
}

TEST(ExplainStats, AgreesWithTheRunOnACrowdedRepeatedSchedule) {
  // Ten viewers who all like the one genre, three seats: most screenings
  // sell out, and repeats make first-time viewers rarer over the year.
  std::vector<Viewer> viewers;
  for (int32_t v = 0; v < 10; ++v)
    viewers.push_back(makeViewer(18 * 60 + 10 * v, genresOf({0})));
  TestCase testCase = makeTestCase(
      {makeMovie(100, 9.0, genresOf({0})), makeMovie(1500, 8.0, genresOf({0}))},
      viewers, 3);
  std::vector<Screening> screenings;
  for (int32_t day = 0; day < 60; day += 2)
    screenings.push_back(makeScreening(testCase, 0, day, 18 * 60));
  screenings.push_back(makeScreening(testCase, 1, 61, 23 * 60));  // 25 hours
  Submission schedule = scheduleInStartOrder(screenings);

  ScreeningStats stats;
  int64_t total = 0;
  for (uint32_t seed = 123; seed < 128; ++seed)
    total += playBoth(testCase, schedule, seed, stats);
  int64_t recorded = 0, firstTime = 0;
  for (const ScreeningTally& tally : stats.tallies()) {
    recorded += tally.nTickets;
    firstTime += tally.nFirstTime;
    EXPECT_LE(tally.nTickets, tally.nDemand);
    EXPECT_LE(tally.nTickets, 3 * 5);
    EXPECT_LE(tally.nFirstTime, tally.nTickets);
    EXPECT_LE(tally.nSoldOut, 5);
    // A run sells out exactly when at least three wanted a ticket, so the
    // sold-out runs bound the tickets from both sides.
    EXPECT_GE(tally.nTickets, 3 * tally.nSoldOut);
  }
  EXPECT_EQ(total, recorded);
  // Each viewer sees each film for the first time at most once per run.
  EXPECT_LE(firstTime, 5 * 2 * 10);
  EXPECT_GT(stats.tallies()[0].nSoldOut, 0);
}

TEST(ExplainStats, EmptyScheduleRecordsNothing) {
  TestCase testCase = makeTestCase({makeMovie(90, 5, genresOf({0}))},
                                   {makeViewer(600, genresOf({0}))}, 1);
  Submission schedule = scheduleInStartOrder({});
  ScreeningStats stats;
  EXPECT_EQ(0, playBoth(testCase, schedule, 123, stats));
  EXPECT_EQ(1, stats.nRuns());
  EXPECT_TRUE(stats.tallies().empty());
}

TEST(ExplainTable, OneRowPerScreeningInFileOrder) {
  TestCase testCase = makeTestCase(
      {makeMovie(100, 9.0, genresOf({0})), makeMovie(50, 9.0, genresOf({0}))},
      {makeViewer(18 * 60, genresOf({0})), makeViewer(18 * 60, genresOf({0}))}, 1);
  Submission schedule = scheduleInStartOrder({makeScreening(testCase, 1, 3, 1400),
                                      makeScreening(testCase, 0, 0, 18 * 60)});
  ScreeningStats stats;
  playBoth(testCase, schedule, 123, stats);
  playBoth(testCase, schedule, 124, stats);
  const std::string table = screeningTableCsv(schedule, stats);
  auto row = [&](size_t i, const std::string& numbers) {
    return numbers + formatFixed(stats.meanTickets(i), 6) + "," +
           formatFixed(stats.meanDemand(i), 6) + "," +
           std::to_string(stats.tallies()[i].nSoldOut) + "\n";
  };
  EXPECT_EQ(std::string(ScreeningTableHeader) +
                row(0, "1,1,3,1400," + std::to_string(3 * 1440 + 1400 + 50) + ",") +
                row(1, "2,0,0,1080,1180,"),
            table);
}

}  // namespace
