#include "simulation/simulation.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "model_builders.h"
#include "simulation/choice_model.h"
#include "simulation/factor_tables.h"
#include "simulation/random_source.h"
#include "simulation/screening_observer.h"
#include "submission/submission.h"
#include "testcase/test_case.h"

namespace {

// The output at `position` (counted from 0) of a freshly seeded stream. It
// reseeds the one generator, so read the stream under test before calling it.
uint32_t outputAt(uint32_t seed, int position) {
  RandomSource::seed(seed);
  for (int i = 0; i < position; ++i) RandomSource::next32();
  return RandomSource::next32();
}

// The records of a viewings list as (iViewer, nSeen) pairs.
std::vector<std::pair<int32_t, int32_t>> recordsOf(
    const std::vector<Viewing>& viewings) {
  std::vector<std::pair<int32_t, int32_t>> records;
  for (const Viewing& viewing : viewings)
    records.emplace_back(viewing.iViewer, viewing.nSeen);
  return records;
}

typedef std::vector<std::pair<int32_t, int32_t>> Records;

// One seat; two films; three viewers; two screenings on day 0 and one on
// day 1.
class SimulationWorkedRun : public ::testing::Test {
 protected:
  SimulationWorkedRun()
      : testCase(workedRunTestCase()),
        schedule(scheduleInStartOrder({makeScreening(testCase, 0, 0, 19 * 60),
                               makeScreening(testCase, 1, 0, 21 * 60 + 30),
                               makeScreening(testCase, 0, 1, 19 * 60)})) {}

  TestCase testCase;
  Submission schedule;
};

TEST_F(SimulationWorkedRun, ChancesOfTheViewers) {
  buildFactorTables();
  const double Q0 = ratingFactor(7.5);
  const double Q1 = ratingFactor(3.0);
  // First screening: distances 0, 30 and 600 minutes; genres shared 1, 1, 0.
  EXPECT_NEAR(1.0 * timeFactor[0] * 0.9 * Q0 * 1.0, 0.648510, 5e-7);
  EXPECT_NEAR(1.0 * timeFactor[30] * 0.9 * Q0 * 1.0, 0.624616, 5e-7);
  EXPECT_LT(1.0 * timeFactor[600] * 0.1 * Q0 * 1.0, 1e-11);
  // Second screening, viewer 1: 180 minutes off, one genre shared.
  EXPECT_NEAR(1.0 * timeFactor[180] * 0.9 * Q1 * 1.0, 0.004520, 5e-7);
  // Third screening, viewer 0: back after one day, film seen once.
  EXPECT_NEAR(recencyFactor[1] * timeFactor[0] * 0.9 * Q0 * 0.1, 0.012970,
              5e-7);
}

TEST_F(SimulationWorkedRun, ScreeningByScreeningWithSeed123) {
  Simulation simulation(testCase);
  simulation.reset();
  std::vector<int32_t> candidates;
  const std::vector<Screening>& screenings = schedule.screenings;

  RandomSource::seed(123);
  // Draws 0.210312, 0.473321 and 0.000330: viewers 0 and 1 want the one
  // seat, and the lottery's draw below 2 seats viewer 0.
  simulation.collectCandidates(screenings[0], candidates);
  ASSERT_EQ(candidates.size(), 2u);
  EXPECT_EQ(candidates[0], 0);
  EXPECT_EQ(candidates[1], 1);
  simulation.admit(screenings[0], candidates);
  EXPECT_EQ(simulation.nTicketsSold, 1);
  EXPECT_EQ(simulation.lastDay, (std::vector<int32_t>{0, -367, -367}));
  EXPECT_EQ(recordsOf(simulation.viewings[0]), (Records{{0, 1}}));

  // Viewer 0 was at the cinema today, viewer 1's chance is 0.0045.
  simulation.collectCandidates(screenings[1], candidates);
  EXPECT_TRUE(candidates.empty());
  simulation.admit(screenings[1], candidates);
  EXPECT_EQ(simulation.nTicketsSold, 1);
  EXPECT_TRUE(simulation.viewings[1].empty());

  simulation.collectCandidates(screenings[2], candidates);
  EXPECT_EQ(candidates, (std::vector<int32_t>{1}));
  simulation.admit(screenings[2], candidates);
  EXPECT_EQ(simulation.nTicketsSold, 2);
  EXPECT_EQ(simulation.lastDay, (std::vector<int32_t>{0, 1, -367}));
  EXPECT_EQ(recordsOf(simulation.viewings[0]), (Records{{0, 1}, {1, 1}}));

  // 3 + 1 draws, then 3, then 3.
  uint32_t next = RandomSource::next32();
  EXPECT_EQ(next, outputAt(123, 10));
}

TEST_F(SimulationWorkedRun, WholeRunsWithTheDefaultSeeds) {
  const uint32_t Seeds[3] = {123, 124, 125};
  const int Draws[3] = {10, 9, 9};
  for (int run = 0; run < 3; ++run) {
    RandomSource::seed(Seeds[run]);
    Simulation simulation(testCase);
    simulation.run(schedule);
    EXPECT_EQ(simulation.nTicketsSold, 2) << "seed " << Seeds[run];
    uint32_t next = RandomSource::next32();
    EXPECT_EQ(next, outputAt(Seeds[run], Draws[run])) << "seed " << Seeds[run];
  }
}

TEST(SimulationTest, ResetStartsAFreshRun) {
  TestCase testCase = makeTestCase(
      {makeMovie(90, 5, 1), makeMovie(90, 5, 1), makeMovie(90, 5, 1)},
      std::vector<Viewer>(4, makeViewer(600, 1)), 2);
  Simulation simulation(testCase);
  simulation.reset();
  simulation.lastDay[2] = 9;
  simulation.viewings[1].push_back(Viewing{2, 1});
  simulation.nTicketsSold = 1;
  simulation.reset();
  EXPECT_EQ(simulation.nTicketsSold, 0);
  EXPECT_EQ(simulation.lastDay, std::vector<int32_t>(4, -367));
  ASSERT_EQ(simulation.viewings.size(), 3u);
  for (const std::vector<Viewing>& list : simulation.viewings)
    EXPECT_TRUE(list.empty());
}

TEST(SimulationTest, EmptyScheduleDrawsAndSellsNothing) {
  TestCase testCase = makeTestCase({makeMovie(90, 9, 1)},
                                   std::vector<Viewer>(50, makeViewer(600, 1)),
                                   10);
  RandomSource::seed(123);
  Simulation simulation(testCase);
  simulation.run(scheduleInStartOrder({}));
  EXPECT_EQ(simulation.nTicketsSold, 0);
  EXPECT_EQ(simulation.lastDay, std::vector<int32_t>(50, -367));
  ASSERT_EQ(simulation.viewings.size(), 1u);
  EXPECT_TRUE(simulation.viewings[0].empty());
  uint32_t next = RandomSource::next32();
  EXPECT_EQ(next, outputAt(123, 0));
}

TEST(SimulationTest, SoldOutScreeningSellsExactlyTheSeats) {
  // Everybody prefers the screening's time and shares two genres with a
  // film rated 10: about 99 of 100 want one of the 5 seats.
  const int32_t NSeats = 5;
  TestCase testCase = makeTestCase(
      {makeMovie(100, 10, genresOf({1, 2}))},
      std::vector<Viewer>(100, makeViewer(700, genresOf({1, 2}))), NSeats);
  Screening screening = makeScreening(testCase, 0, 3, 650);
  RandomSource::seed(124);
  Simulation simulation(testCase);
  simulation.reset();
  std::vector<int32_t> candidates;
  simulation.collectCandidates(screening, candidates);
  ASSERT_GT(candidates.size(), 90u);
  simulation.admit(screening, candidates);

  EXPECT_EQ(simulation.nTicketsSold, NSeats);
  std::vector<int32_t> seated(candidates.begin(), candidates.begin() + NSeats);
  EXPECT_TRUE(std::is_sorted(seated.begin(), seated.end()));
  Records expected;
  for (int32_t v : seated) expected.emplace_back(v, 1);
  EXPECT_EQ(recordsOf(simulation.viewings[0]), expected);
  for (int32_t j = 0; j < testCase.nViewers; ++j) {
    bool isSeated = std::count(seated.begin(), seated.end(), j) == 1;
    EXPECT_EQ(simulation.lastDay[j], isSeated ? 3 : -367) << "viewer " << j;
  }
}

// Twelve viewers and two films, for seating by hand.
class SimulationAdmission : public ::testing::Test {
 protected:
  SimulationAdmission()
      : testCase(makeTestCase({makeMovie(90, 5, 1), makeMovie(90, 5, 1)},
                              std::vector<Viewer>(12, makeViewer(600, 1)),
                              10)),
        simulation(testCase) {
    simulation.reset();
  }

  // Seats `candidates` at a screening of film 0 on `day`.
  void seat(std::vector<int32_t> candidates, int32_t day) {
    simulation.admit(makeScreening(testCase, 0, day, 600), candidates);
  }

  TestCase testCase;
  Simulation simulation;
};

TEST_F(SimulationAdmission, NewcomersAreMergedInViewerOrder) {
  simulation.viewings[0] = {Viewing{3, 1}, Viewing{7, 2}};
  RandomSource::seed(123);
  // Below, between and above the records, and one repeat.
  seat({9, 1, 5, 7, 0}, 4);
  EXPECT_EQ(recordsOf(simulation.viewings[0]),
            (Records{{0, 1}, {1, 1}, {3, 1}, {5, 1}, {7, 3}, {9, 1}}));
  EXPECT_EQ(simulation.nTicketsSold, 5);
  for (int32_t v : {0, 1, 5, 7, 9}) EXPECT_EQ(simulation.lastDay[v], 4);
  EXPECT_EQ(simulation.lastDay[3], -367);
  EXPECT_TRUE(simulation.viewings[1].empty());
  // Seating draws nothing.
  uint32_t next = RandomSource::next32();
  EXPECT_EQ(next, outputAt(123, 0));
}

TEST_F(SimulationAdmission, NewcomersAllOnOneSide) {
  seat({8, 2, 4}, 0);  // into an empty list
  EXPECT_EQ(recordsOf(simulation.viewings[0]),
            (Records{{2, 1}, {4, 1}, {8, 1}}));
  seat({11, 10}, 1);  // all above
  EXPECT_EQ(recordsOf(simulation.viewings[0]),
            (Records{{2, 1}, {4, 1}, {8, 1}, {10, 1}, {11, 1}}));
  seat({1, 0}, 2);  // all below
  EXPECT_EQ(recordsOf(simulation.viewings[0]),
            (Records{{0, 1}, {1, 1}, {2, 1}, {4, 1}, {8, 1}, {10, 1}, {11, 1}}));
}

TEST_F(SimulationAdmission, OnlyTheLotteryWinnersAreSeated) {
  testCase.nSeats = 2;
  seat({9, 1, 5}, 6);
  EXPECT_EQ(recordsOf(simulation.viewings[0]), (Records{{1, 1}, {9, 1}}));
  EXPECT_EQ(simulation.nTicketsSold, 2);
  EXPECT_EQ(simulation.lastDay[5], -367);
}

TEST_F(SimulationAdmission, RepeatedViewingsAreCounted) {
  seat({4}, 1);
  seat({4, 6}, 2);
  seat({6, 4}, 3);
  EXPECT_EQ(recordsOf(simulation.viewings[0]), (Records{{4, 3}, {6, 2}}));
  EXPECT_EQ(simulation.lastDay[4], 3);
  EXPECT_EQ(simulation.nTicketsSold, 5);
}

// A busy fortnight: 400 viewers, 6 films, 25 seats, five screenings a day,
// the last one passing midnight.
class SimulationBusySchedule : public ::testing::Test {
 protected:
  static const int32_t NViewers = 400;

  SimulationBusySchedule() : testCase(busyCase()), schedule(busySchedule()) {}

  static TestCase busyCase() {
    std::vector<Movie> movies;
    for (int32_t m = 0; m < 6; ++m)
      movies.push_back(makeMovie(100 + 10 * m, 5.0 + m,
                                 genresOf({m, m + 1, 16 + m})));
    std::vector<Viewer> viewers;
    for (int32_t j = 0; j < NViewers; ++j)
      viewers.push_back(makeViewer((600 + 53 * j) % 1440,
                                   genresOf({j % 7, 16 + j % 5, 30})));
    return makeTestCase(movies, viewers, 25);
  }

  // Listed by film, so that `order` differs from the file order.
  Submission busySchedule() const {
    const int32_t Starts[5] = {10 * 60, 13 * 60, 16 * 60, 19 * 60,
                               22 * 60 + 30};
    std::vector<Screening> screenings;
    for (int32_t slot = 0; slot < 5; ++slot) {
      for (int32_t day = 20; day < 34; ++day)
        screenings.push_back(
            makeScreening(testCase, (day + slot) % 6, day, Starts[slot]));
    }
    return scheduleInStartOrder(screenings);
  }

  TestCase testCase;
  Submission schedule;
};

TEST_F(SimulationBusySchedule, SeatingKeepsEveryRecordConsistent) {
  RandomSource::seed(125);
  Simulation simulation(testCase);
  simulation.reset();
  std::vector<int32_t> candidates;
  std::set<std::pair<int32_t, int32_t>> visits;  // (viewer, day)
  std::map<std::pair<int32_t, int32_t>, int32_t> nSeen;  // (film, viewer)
  int32_t nSoldOut = 0;

  for (int32_t p : schedule.order) {
    const Screening& screening = schedule.screenings[p];
    const int32_t ticketsBefore = simulation.nTicketsSold;
    const std::vector<int32_t> lastDayBefore = simulation.lastDay;
    simulation.collectCandidates(screening, candidates);
    if (static_cast<int32_t>(candidates.size()) > testCase.nSeats) ++nSoldOut;
    simulation.admit(screening, candidates);

    const int32_t k = std::min(testCase.nSeats,
                               static_cast<int32_t>(candidates.size()));
    EXPECT_EQ(simulation.nTicketsSold - ticketsBefore, k);
    std::set<int32_t> seated(candidates.begin(), candidates.begin() + k);
    EXPECT_EQ(static_cast<int32_t>(seated.size()), k);
    for (int32_t v : seated) {
      EXPECT_TRUE(visits.insert({v, screening.day}).second)
          << "viewer " << v << " twice on day " << screening.day;
      ++nSeen[{screening.movieNo, v}];
    }
    for (int32_t j = 0; j < NViewers; ++j) {
      int32_t expected = seated.count(j) ? screening.day : lastDayBefore[j];
      ASSERT_EQ(simulation.lastDay[j], expected) << "viewer " << j;
    }
  }

  EXPECT_GT(nSoldOut, 0);
  EXPECT_EQ(simulation.nTicketsSold, static_cast<int32_t>(visits.size()));
  std::map<std::pair<int32_t, int32_t>, int32_t> recorded;
  int32_t nRepeats = 0;
  for (int32_t m = 0; m < testCase.nMovies; ++m) {
    const std::vector<Viewing>& list = simulation.viewings[m];
    for (size_t i = 1; i < list.size(); ++i)
      EXPECT_LT(list[i - 1].iViewer, list[i].iViewer) << "film " << m;
    for (const Viewing& viewing : list) {
      recorded[{m, viewing.iViewer}] = viewing.nSeen;
      if (viewing.nSeen > 1) ++nRepeats;
    }
  }
  EXPECT_EQ(recorded, nSeen);
  EXPECT_GT(nRepeats, 0);

  // Simulation::run plays the same screenings in the same order.
  uint32_t next = RandomSource::next32();
  RandomSource::seed(125);
  Simulation whole(testCase);
  whole.run(schedule);
  EXPECT_EQ(whole.nTicketsSold, simulation.nTicketsSold);
  EXPECT_EQ(RandomSource::next32(), next);
}

// Keeps every outcome a run reports, in the order it reports them.
class OutcomeRecorder : public ScreeningObserver {
 public:
  void screeningPlayed(const ScreeningOutcome& outcome) override {
    outcomes.push_back(outcome);
  }
  std::vector<ScreeningOutcome> outcomes;
};

TEST_F(SimulationBusySchedule, ObserverSeesWhatTheRunDoesOnEveryPath) {
  RandomSource::seed(125);
  Simulation unobserved(testCase);
  unobserved.run(schedule);
  const uint32_t next = RandomSource::next32();
  std::vector<ScreeningOutcome> first;
  for (ChoiceModelPath path : supportedChoiceModelPaths()) {
    // With every film's audience kept through the run, and with lists only.
    for (size_t maxAudienceBytes : {size_t(16) << 20, size_t(0)}) {
      SCOPED_TRACE(std::string(nameOf(path)) +
                   (maxAudienceBytes > 0 ? " with audiences" : " with lists"));
      RandomSource::seed(125);
      Simulation simulation(testCase);
      simulation.choiceModelPath = path;
      simulation.maxAudienceBytes = maxAudienceBytes;
      OutcomeRecorder recorder;
      simulation.run(schedule, &recorder);
      // Watching changes nothing of the run.
      EXPECT_EQ(unobserved.nTicketsSold, simulation.nTicketsSold);
      EXPECT_EQ(next, RandomSource::next32());

      const std::vector<ScreeningOutcome>& outcomes = recorder.outcomes;
      ASSERT_EQ(schedule.order.size(), outcomes.size());
      int32_t nSeated = 0, nLotteries = 0;
      std::vector<int32_t> nFirstTime(testCase.movies.size(), 0);
      for (size_t p = 0; p < outcomes.size(); ++p) {
        const ScreeningOutcome& outcome = outcomes[p];
        ASSERT_EQ(schedule.order[p], outcome.screening);
        EXPECT_EQ(std::min(outcome.nDemand, testCase.nSeats), outcome.nSeated);
        EXPECT_LE(outcome.nFirstTime, outcome.nSeated);
        EXPECT_GE(outcome.nFirstTime, 0);
        nSeated += outcome.nSeated;
        nLotteries += outcome.nDemand > testCase.nSeats ? 1 : 0;
        nFirstTime[schedule.screenings[outcome.screening].movieNo] +=
            outcome.nFirstTime;
      }
      EXPECT_EQ(simulation.nTicketsSold, nSeated);
      EXPECT_GT(nLotteries, 0);
      // Each viewer of a film came for the first time exactly once.
      for (int32_t m = 0; m < testCase.nMovies; ++m)
        EXPECT_EQ(static_cast<int32_t>(simulation.viewings[m].size()),
                  nFirstTime[m]) << "film " << m;
      if (first.empty()) first = outcomes;
      for (size_t p = 0; p < outcomes.size(); ++p) {
        EXPECT_EQ(first[p].nDemand, outcomes[p].nDemand) << p;
        EXPECT_EQ(first[p].nFirstTime, outcomes[p].nFirstTime) << p;
      }
    }
  }
}

}  // namespace
