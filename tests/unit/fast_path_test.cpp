// Identity of the fast paths with the reference: the vector SFMT
// regeneration against the portable one, the batched model's factors and
// every kernel's hits against the model's factors, the batched choice
// kernels against the reference choice model, screening by screening and
// over whole runs.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "simulation/choice_model.h"
#include "simulation/factor_tables.h"
#include "simulation/fast/choice_inputs.h"
#include "simulation/fast/choice_kernels.h"
#include "simulation/fast/choice_model_path.h"
#include "simulation/fast/draw_bounds.h"
#include "simulation/fast/film_audience.h"
#include "simulation/fast/sfmt_vector.h"
#include "simulation/fast/time_by_preference.h"
#include "simulation/fast/viewer_columns.h"
#include "simulation/random_source.h"
#include "simulation/sfmt_block.h"
#include "simulation/simulation.h"
#include "submission/submission.h"
#include "testcase/test_case.h"

namespace {

// A small deterministic generator for the test data, independent of the
// random source under test.
class TestDice {
 public:
  explicit TestDice(uint64_t seed)
      : state_(seed * 2862933555777941757ULL + 1) {}
  // An integer in [0, n).
  int32_t below(int32_t n) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<int32_t>((state_ >> 33) % static_cast<uint64_t>(n));
  }
  uint32_t word() {
    return static_cast<uint32_t>(below(1 << 16)) << 16 |
           static_cast<uint32_t>(below(1 << 16));
  }

 private:
  uint64_t state_;
};

// Genre sets of every kind: empty, single bits (bit 31 among them), pairs
// and random words.
GenreSet someGenres(TestDice& dice) {
  switch (dice.below(5)) {
    case 0:
      return 0;
    case 1:
      return GenreSet(1) << dice.below(32);
    case 2:
      return GenreSet(1) << 31 | GenreSet(1) << dice.below(31);
    default:
      return dice.word() & dice.word();
  }
}

// Preferred times with the edges of the day overrepresented.
int32_t somePreferredTime(TestDice& dice) {
  const int32_t Edges[6] = {0, 1, 719, 720, 1438, 1439};
  if (dice.below(4) == 0) return Edges[dice.below(6)];
  return dice.below(1440);
}

// Running times of every kind: a minute, ordinary films, half a day, just
// under, exactly and over a day.
int32_t someRuntime(TestDice& dice) {
  const int32_t Runtimes[10] = {1,   80,   120,  180,  719,
                                720, 1439, 1440, 1441, 3000};
  return dice.below(3) == 0 ? Runtimes[dice.below(10)] : 80 + dice.below(101);
}

TestCase someTestCase(TestDice& dice, int32_t nViewers, int32_t nMovies,
                      int32_t nSeats) {
  TestCase testCase;
  for (int32_t m = 0; m < nMovies; ++m) {
    Movie movie;
    movie.runtime = someRuntime(dice);
    movie.rating = dice.below(101) / 10.0;
    movie.genres = someGenres(dice);
    testCase.movies.push_back(movie);
  }
  for (int32_t j = 0; j < nViewers; ++j) {
    Viewer viewer;
    viewer.preferredTime = somePreferredTime(dice);
    viewer.genres = someGenres(dice);
    testCase.viewers.push_back(viewer);
  }
  testCase.nMovies = nMovies;
  testCase.nViewers = nViewers;
  testCase.nSeats = nSeats;
  return testCase;
}

Screening someScreening(TestDice& dice, const TestCase& testCase, int32_t day) {
  Screening screening;
  screening.movieNo = dice.below(testCase.nMovies);
  screening.day = day;
  const int32_t Starts[4] = {0, 1439, 1380, 600};
  screening.startMinute =
      dice.below(3) == 0 ? Starts[dice.below(4)] : dice.below(1440);
  screening.start = int64_t(day) * 1440 + screening.startMinute;
  screening.end = screening.start + testCase.movies[screening.movieNo].runtime;
  return screening;
}

// Mostly a few viewings; now and then counts around those where the repeat
// factor becomes subnormal and then 0.0 (1022 to 1100 and beyond).
int32_t someViewingCount(TestDice& dice) {
  const int32_t pick = dice.below(20);
  if (pick == 0) return 1020 + dice.below(100);
  if (pick == 1) return 60 + dice.below(9);
  return 1 + dice.below(5);
}

// A run's history of every kind: never at the cinema, today (d = 0),
// yesterday, weeks and over a year ago; films seen up to five times.
void fillHistory(TestDice& dice, Simulation& simulation, int32_t day) {
  const int32_t Ago[5] = {0, 1, 2, 30, 366};
  for (int32_t& last : simulation.lastDay) {
    const int32_t pick = dice.below(7);
    if (pick < 5)
      last = day - Ago[pick];
    else if (pick == 5)
      last = -367;
    else
      last = day - dice.below(day + 368);  // anything from -367 to today
  }
  for (std::vector<Viewing>& seen : simulation.viewings) {
    seen.clear();
    for (int32_t j = 0; j < simulation.testCase.nViewers; ++j)
      if (dice.below(3) == 0)
        seen.push_back(Viewing{j, someViewingCount(dice)});
  }
}

// The candidates and the next output of the generator after one
// collectCandidates with `path`, from the stream of `seed` advanced by
// `skip` outputs.
struct Collected {
  std::vector<int32_t> candidates;
  uint32_t nextOutput;
};

Collected collectWith(ChoiceModelPath path, Simulation& simulation,
                      const Screening& screening, uint32_t seed, int skip) {
  simulation.choiceModelPath = path;
  RandomSource::seed(seed);
  for (int i = 0; i < skip; ++i) RandomSource::next32();
  Collected collected;
  collected.candidates = {-5, -6};  // left over from an earlier screening
  simulation.collectCandidates(screening, collected.candidates);
  collected.nextOutput = RandomSource::next32();
  return collected;
}

// Every supported batched path, each compared with the reference.
std::vector<ChoiceModelPath> fastPaths() {
  std::vector<ChoiceModelPath> paths = supportedChoiceModelPaths();
  paths.erase(
      std::remove(paths.begin(), paths.end(), ChoiceModelPath::Reference),
      paths.end());
  return paths;
}

TEST(FastPathDispatch, EveryBuildHasThePortablePathAndDefaultsToTheFastest) {
  EXPECT_TRUE(isSupported(ChoiceModelPath::Reference));
  EXPECT_TRUE(isSupported(ChoiceModelPath::Portable));
  EXPECT_TRUE(isSupported(fastestChoiceModelPath()));
  // AVX2 processors are x86-64 processors.
  if (isSupported(ChoiceModelPath::Avx2)) {
    EXPECT_TRUE(isSupported(ChoiceModelPath::Sse2));
  }
  EXPECT_EQ(isSupported(ChoiceModelPath::Sse2), sfmtVectorIsNative());
  TestCase testCase;
  Simulation simulation(testCase);
  EXPECT_EQ(simulation.choiceModelPath, fastestChoiceModelPath());
  for (ChoiceModelPath path : supportedChoiceModelPaths())
    std::printf("[ supported] %s\n", nameOf(path));
}

// Extending by several blocks at once must give what extending by one block
// at a time gives, and the vector code what the portable code gives.
TEST(FastPathRandomSource, VectorRegenerationEqualsThePortableOne) {
  const int32_t Words = RandomSource::StateWords;
  for (uint32_t seed : {123U, 124U, 0U, 4294967295U}) {
    RandomSource::seed(seed);
    std::vector<uint32_t> oneByOne(Words * 2);
    for (int32_t i = 0; i < Words; ++i) oneByOne[i] = RandomSource::next32();
    std::vector<uint32_t> portable(Words * 8);
    std::vector<uint32_t> vector(Words * 8);
    std::copy(oneByOne.begin(), oneByOne.begin() + Words, portable.begin());
    std::copy(oneByOne.begin(), oneByOne.begin() + Words, vector.begin());
    for (int32_t round = 0; round < 300; ++round) {
      const int32_t blocks = 1 + round % 7;
      extendSfmtPortable(portable.data(), blocks);
      extendSfmtVector(vector.data(), blocks);
      ASSERT_EQ(portable, vector) << "seed " << seed << ", round " << round;
      for (int32_t block = 1; block <= blocks; ++block) {
        extendSfmtPortable(oneByOne.data(), 1);
        ASSERT_TRUE(std::equal(oneByOne.begin() + Words, oneByOne.end(),
                               portable.begin() + block * Words))
            << "seed " << seed << ", round " << round << ", block " << block;
        std::copy(oneByOne.begin() + Words, oneByOne.end(), oneByOne.begin());
      }
      // The last block starts the next round.
      std::copy(portable.begin() + blocks * Words,
                portable.begin() + (blocks + 1) * Words, portable.begin());
      std::copy(vector.begin() + blocks * Words,
                vector.begin() + (blocks + 1) * Words, vector.begin());
    }
  }
}

TEST(FastPathRandomSource, NextOutputsHandsOutTheStreamInOrder) {
  const int Total = 200000;
  RandomSource::seed(125);
  std::vector<uint32_t> stream(Total + 1);
  for (uint32_t& output : stream) output = RandomSource::next32();

  // Requests of every size, from one output to more than a block, mixed
  // with single draws, so that pieces start and end anywhere in a block.
  TestDice dice(7);
  RandomSource::seed(125);
  int position = 0;
  while (position < Total) {
    if (dice.below(4) == 0) {
      ASSERT_EQ(RandomSource::next32(), stream[position]);
      ++position;
      continue;
    }
    const int32_t wanted = std::min(1 + dice.below(1500), Total - position);
    const uint32_t* outputs = nullptr;
    const int32_t count = RandomSource::nextOutputs(wanted, outputs);
    ASSERT_GE(count, 1);
    ASSERT_LE(count, wanted);
    // A piece ends only where the request or a block ends.
    if (count < wanted) {
      ASSERT_EQ((position + count) % RandomSource::StateWords, 0);
    }
    for (int32_t k = 0; k < count; ++k)
      ASSERT_EQ(outputs[k], stream[position + k]) << "output " << position + k;
    position += count;
  }
  EXPECT_EQ(RandomSource::next32(), stream[Total]);
}

// The screening constants of the kernels for a screening of `runtime`
// minutes from `startMinute` of a day, as the batched model sets them.
ChoiceInputs distanceInputsOf(int32_t runtime, int32_t startMinute,
                              Screening& screening) {
  screening.start = 3 * 1440 + startMinute;
  screening.end = screening.start + runtime;
  ChoiceInputs in;
  in.time = timeFactor;
  if (runtime >= 1440) {
    in.startOfDay = -1;
    in.endOfDay = 1440;
    in.wrap = 1440;
  } else {
    in.startOfDay = startMinute;
    in.endOfDay = static_cast<int32_t>(screening.end % 1440);
    in.wrap = in.startOfDay < in.endOfDay ? 1440 : 0;
  }
  return in;
}

// Within a day, past midnight, ending on the minute before the start, and
// a day or more.
const int32_t DistanceRuntimes[14] = {1,    2,    15,   60,   179,
                                      719,  720,  721,  1000, 1438,
                                      1439, 1440, 1441, 5000};

TEST(FastPathKernels, DistanceFormulaEqualsTheTimeOfDayDistance) {
  for (int32_t runtime : DistanceRuntimes) {
    for (int32_t startMinute = 0; startMinute < 1440; startMinute += 7) {
      Screening screening;
      const ChoiceInputs in = distanceInputsOf(runtime, startMinute, screening);
      for (int32_t t = 0; t < 1440; ++t)
        ASSERT_EQ(distanceOf(in, t),
                  timeOfDayDistance(t, screening.start, screening.end))
            << "runtime " << runtime << ", start " << startMinute << ", t "
            << t;
    }
  }
}

// The table is filled piece by piece; every minute must still hold the
// factor of its own distance, for every start of the day.
TEST(FastPathKernels, TimeByPreferenceHoldsTheFactorOfEveryDistance) {
  buildFactorTables();
  std::vector<double> table(PreferredTimes);
  std::vector<double> reversed(MaxDistance + 1);
  reverseTimeFactors(timeFactor, reversed.data());
  for (int32_t runtime : DistanceRuntimes) {
    for (int32_t startMinute = 0; startMinute < 1440; ++startMinute) {
      Screening screening;
      const ChoiceInputs in = distanceInputsOf(runtime, startMinute, screening);
      std::fill(table.begin(), table.end(), -1.0);
      fillTimeByPreference(in, reversed.data(), table.data());
      for (int32_t t = 0; t < PreferredTimes; ++t)
        ASSERT_EQ(table[t], timeFactor[distanceOf(in, t)])
            << "runtime " << runtime << ", start " << startMinute << ", t "
            << t;
    }
  }
}

TEST(FastPathBounds, DrawBoundOfAChanceCeilingHoldsEveryHitAndNoMore) {
  // Ceilings exactly at a multiple of 2^-32 (the draw there misses), just
  // above one (it hits), the smallest subnormal and zero.
  const uint32_t Multiples[5] = {0U, 1U, 2U, 2147483648U, 4294967294U};
  for (uint32_t m : Multiples) {
    const double exact = static_cast<double>(m) / TwoTo32;
    EXPECT_EQ(drawBoundOf(exact), m + 1) << m;
    EXPECT_FALSE(drawsBelow(m, exact)) << m;
    if (m > 0) {
      EXPECT_TRUE(drawsBelow(m - 1, exact)) << m;
    }
    const double above = std::nextafter(exact, 1.0);
    EXPECT_EQ(drawBoundOf(above), m + 1) << m;
    EXPECT_TRUE(drawsBelow(m, above)) << m;
    EXPECT_FALSE(drawsBelow(m + 1, above)) << m;
  }
  const double tiniest = std::nextafter(0.0, 1.0);
  EXPECT_EQ(drawBoundOf(tiniest), 1U);
  EXPECT_TRUE(drawsBelow(0, tiniest));
}

TEST(FastPathBounds, TopByteBoundHoldsTheTopByteOfEveryDrawBelowTheBound) {
  // Bounds at, just above and just below the multiples of 2^24, and the
  // extremes.
  std::vector<uint32_t> bounds = {1U, 2U, 0xFFFFFFFFU};
  for (uint32_t top = 1; top < 256; top += 17) {
    const uint32_t edge = top << 24;
    bounds.insert(bounds.end(), {edge - 1, edge, edge + 1});
  }
  for (uint32_t bound : bounds) {
    const uint8_t topByte = topByteBoundOf(bound);
    // The largest draw below the bound passes; the top bytes above do not
    // come from such draws.
    EXPECT_EQ(topByte, (bound - 1) >> 24) << bound;
    EXPECT_LE((bound - 1) >> 24, topByte) << bound;
    if (topByte < 255) {
      EXPECT_GE(static_cast<uint64_t>(topByte + 1) << 24, bound) << bound;
    }
  }
}

TEST(FastPathBounds, ScreeningBoundsHoldTheLargestChanceOfEveryDistance) {
  buildFactorTables();
  std::vector<double> ceilings(DistanceBands);
  findBandTimeCeilings(timeFactor, ceilings.data());
  std::vector<uint32_t> bound(GenreClasses * DistanceBands);
  int nTight = 0;
  // Every rating a film can have, every distance and genre class.
  for (int32_t tenths = 0; tenths <= 100; ++tenths) {
    const double q = ratingFactor(tenths / 10.0);
    fillDrawBounds(ceilings.data(), q, bound.data());
    for (int32_t c = 0; c < GenreClasses; ++c) {
      for (int32_t b = 0; b < DistanceBands; ++b) {
        const uint32_t limit = bound[c * DistanceBands + b];
        ASSERT_GE(limit, 1U);
        bool someDistanceHitsBelowTheBound = false;
        for (int32_t k = 0; k <= MaxDistance; ++k) {
          if (bandOf(k) != b) continue;
          // The reference's product with the largest recency and repeat
          // factors, 1.0.
          const double p = 1.0 * timeFactor[k] * GenreClassFactors[c] * q * 1.0;
          ASSERT_FALSE(drawsBelow(limit, p))
              << "rating " << tenths << ", class " << c << ", distance " << k;
          someDistanceHitsBelowTheBound =
              someDistanceHitsBelowTheBound || drawsBelow(limit - 1, p);
        }
        // Tight: one below the bound hits, unless the ceiling is an exact
        // multiple of 2^-32 (then the draw at it misses too).
        if (someDistanceHitsBelowTheBound) ++nTight;
      }
    }
  }
  EXPECT_GT(nTight, 101 * GenreClasses * DistanceBands * 9 / 10);
}


// A draw at the edge of chance p: the largest that hits, the smallest that
// misses, or a random one.
uint32_t edgeDraw(TestDice& dice, double p) {
  const double scaled = p * TwoTo32;  // exact, below 2^32
  const uint64_t firstMiss = static_cast<uint64_t>(std::ceil(scaled));
  switch (dice.below(3)) {
    case 0:
      if (firstMiss > 0) return static_cast<uint32_t>(firstMiss - 1);
      return 0;
    case 1:
      if (firstMiss <= 0xFFFFFFFFULL) return static_cast<uint32_t>(firstMiss);
      return 0xFFFFFFFFU;
    default:
      return dice.word();
  }
}

TEST(FastPathKernels, DrawsAtTheEdgeOfEveryChanceGiveTheSameHits) {
  TestDice dice(31);
  const int32_t NViewers = 3000;
  TestCase testCase = someTestCase(dice, NViewers, 40, 10);
  // Films and viewers who share only genre bit 31, or it and one more.
  testCase.movies[0].genres = GenreSet(1) << 31;
  testCase.movies[1].genres = GenreSet(1) << 31 | 1;
  for (int32_t j = 0; j < NViewers; j += 7)
    testCase.viewers[j].genres = GenreSet(1) << 31;
  Simulation simulation(testCase);
  simulation.reset();
  ViewerColumns columns;
  columns.build(testCase);
  // Viewing counts of every kind, the subnormal factors among them, and
  // runs of viewers who have seen the film twice or more, so that the
  // vector kernel meets groups of four with several of them.
  std::vector<Viewing> seen;
  for (int32_t j = 0; j < NViewers; ++j) {
    const bool inRun = (j / 64) % 5 == 0;
    if (!inRun && dice.below(4) == 0) continue;
    seen.push_back(
        Viewing{j, inRun ? 2 + dice.below(3) : someViewingCount(dice)});
  }
  FilmAudience audience;
  audience.resize(NViewers);
  audience.assign(seen);
  ScreeningBounds bounds;
  std::vector<uint32_t> draws(NViewers);
  std::vector<int32_t> expected(NViewers + 8);
  std::vector<int32_t> actual(NViewers + 8);
  std::vector<double> timeTable(PreferredTimes);
  int64_t nHits = 0;
  for (int round = 0; round < 200; ++round) {
    const int32_t day = dice.below(366);
    fillHistory(dice, simulation, day);  // d = 0 among the visits
    Screening screening = someScreening(dice, testCase, day);
    if (round < 2) screening.movieNo = round;
    screening.end =
        screening.start + testCase.movies[screening.movieNo].runtime;
    ChoiceInputs in =
        choiceInputsFor(columns, simulation.lastDay, screening,
                        testCase.movies[screening.movieNo], audience, bounds);
    // Every other round with the table by preferred time that a larger
    // test case gets.
    if (round % 2 == 1) {
      fillTimeByPreference(in, columns.reversedTime.data(), timeTable.data());
      in.timeByPreference = timeTable.data();
    }
    for (int32_t j = 0; j < NViewers; ++j)
      draws[j] = edgeDraw(dice, chanceOf(in, j));
    // From an odd first viewer too, so that registers start anywhere.
    const int32_t first = round % 3;
    const int32_t count = NViewers - first;
    const int32_t nExpected = selectViewersPortable(
        in, first, count, draws.data() + first, expected.data());
    nHits += nExpected;
    for (int32_t n = 0; n < nExpected; ++n)
      ASSERT_TRUE(drawsBelow(draws[expected[n]], chanceOf(in, expected[n])));
    for (ChoiceKernel kernel : {selectViewersSse2, selectViewersAvx2}) {
      if (kernel == selectViewersSse2 && !processorRunsSse2Kernel()) continue;
      if (kernel == selectViewersAvx2 && !processorRunsAvx2Kernel()) continue;
      const int32_t nActual =
          kernel(in, first, count, draws.data() + first, actual.data());
      ASSERT_EQ(nActual, nExpected) << "round " << round;
      for (int32_t n = 0; n < nActual; ++n)
        ASSERT_EQ(actual[n], expected[n]) << "round " << round;
    }
  }
  EXPECT_GT(nHits, 0);
}

// A screening of 18:00 to 20:00 on the last day of the year, of a film of
// every genre, over viewers of every class that the factor tables and the
// vector forms of the factors tell apart: viewer j shares j % 33 genres
// with the film (a run of them from genre j / 33 % 32 on, wrapping round
// bit 31), prefers a time spread over the day, last came j / 3 % 800 days
// ago (past the year and never among them) and has seen the film j / 7
// times if j % 7 is 0 (every count up to 1299), else j / 33 % 6 times.
class FastPathFactorClasses : public ::testing::Test {
 protected:
  static const int32_t NViewers = 7 * 1300;
  static const int32_t Day = 365;

  FastPathFactorClasses() {
    buildFactorTables();
    Movie film;
    film.runtime = 120;
    film.rating = 7.5;
    film.genres = ~GenreSet(0);
    testCase.movies.push_back(film);
    std::vector<Viewing> seen;
    for (int32_t j = 0; j < NViewers; ++j) {
      Viewer viewer;
      viewer.preferredTime = (j * 37) % 1440;
      const int32_t nShared = j % 33;
      const GenreSet run =
          nShared == 32 ? ~GenreSet(0) : (GenreSet(1) << nShared) - 1;
      const int32_t from = j / 33 % 32;
      viewer.genres = from == 0 ? run : run << from | run >> (32 - from);
      testCase.viewers.push_back(viewer);
      lastDay.push_back(Day - j / 3 % 800);
      viewingCounts.push_back(j % 7 == 0 ? j / 7 : j / 33 % 6);
      if (viewingCounts[j] > 0) seen.push_back(Viewing{j, viewingCounts[j]});
    }
    testCase.nMovies = 1;
    testCase.nViewers = NViewers;
    testCase.nSeats = NViewers;
    screening.movieNo = 0;
    screening.day = Day;
    screening.startMinute = 18 * 60;
    screening.start = int64_t(Day) * 1440 + screening.startMinute;
    screening.end = screening.start + film.runtime;
    audience.resize(NViewers);
    audience.assign(seen);
    columns.build(testCase);
    in = choiceInputsFor(columns, lastDay, screening, film, audience, bounds);
  }

  // The chance of viewer j from the model's factors.
  double modelChance(int32_t j) const {
    const Viewer& viewer = testCase.viewers[j];
    const Movie& film = testCase.movies[0];
    return choiceChance(
        recencyOf(Day - lastDay[j]),
        timeFactorAt(timeOfDayDistance(viewer.preferredTime, screening.start,
                                       screening.end)),
        genreFactor(viewer.genres & film.genres), ratingFactor(film.rating),
        repeatFactor(viewingCounts[j]));
  }

  TestCase testCase;
  std::vector<int32_t> lastDay;
  std::vector<int32_t> viewingCounts;
  Screening screening;
  FilmAudience audience;
  ViewerColumns columns;
  ScreeningBounds bounds;
  ChoiceInputs in;
};

// The batched model's tables (recency by capped age, repeat factor by
// capped count) and its distance formula give every viewer the model's
// chance, bit for bit.
TEST_F(FastPathFactorClasses, ChanceOfTheColumnsIsTheModelsChance) {
  for (int32_t j = 0; j < NViewers; ++j) {
    ASSERT_EQ(repeatFactorOf(in, j), repeatFactor(viewingCounts[j]))
        << "viewer " << j << ", seen " << viewingCounts[j] << " times";
    ASSERT_EQ(chanceOf(in, j), modelChance(j)) << "viewer " << j;
  }
}

// The vector kernels restate the genre factor (from the classes, in
// registers) and the repeat factor (from the audience's codes): with draws
// at the edge of every viewer's chance, each kernel must hit exactly where
// the model's chance does, with the table by preferred time and without.
TEST_F(FastPathFactorClasses, EveryKernelHitsWhereTheModelsChanceDoes) {
  std::vector<double> timeTable(PreferredTimes);
  fillTimeByPreference(in, columns.reversedTime.data(), timeTable.data());
  std::vector<uint32_t> draws(NViewers);
  std::vector<int32_t> expected;
  std::vector<int32_t> actual(NViewers + 8);
  TestDice dice(33);
  std::vector<int64_t> hitsByShared(33, 0);
  for (int round = 0; round < 12; ++round) {
    in.timeByPreference = round % 2 == 1 ? timeTable.data() : nullptr;
    const int32_t first = round % 3;
    expected.clear();
    for (int32_t j = 0; j < NViewers; ++j) {
      const double p = modelChance(j);
      draws[j] = edgeDraw(dice, p);
      if (j >= first && std::ldexp(static_cast<double>(draws[j]), -32) < p) {
        expected.push_back(j);
        ++hitsByShared[j % 33];
      }
    }
    for (ChoiceKernel kernel :
         {selectViewersPortable, selectViewersSse2, selectViewersAvx2}) {
      if (kernel == selectViewersSse2 && !processorRunsSse2Kernel()) continue;
      if (kernel == selectViewersAvx2 && !processorRunsAvx2Kernel()) continue;
      const int32_t n = kernel(in, first, NViewers - first,
                               draws.data() + first, actual.data());
      ASSERT_EQ(std::vector<int32_t>(actual.begin(), actual.begin() + n),
                expected)
          << "round " << round;
    }
  }
  for (int32_t nShared = 0; nShared <= 32; ++nShared)
    EXPECT_GT(hitsByShared[nShared], 0) << nShared << " genres shared";
}

TEST(FastPathChoiceModel, SameCandidatesAndDrawsAsTheReference) {
  // Viewer counts below one register, between, around and over a generator
  // block; starting positions inside a block and at its end.
  const int32_t ViewerCounts[8] = {1, 7, 9, 623, 625, 1251, 3001, 6000};
  const int Skips[4] = {0, 1, 619, 623};
  TestDice dice(2026);
  int nCompared = 0;
  int nLotteries = 0;
  for (int32_t nViewers : ViewerCounts) {
    TestCase testCase =
        someTestCase(dice, nViewers, 6, 1 + dice.below(nViewers + 5));
    Simulation simulation(testCase);
    simulation.reset();
    for (int round = 0; round < 6; ++round) {
      const int32_t day = dice.below(366);
      fillHistory(dice, simulation, day);
      const Screening screening = someScreening(dice, testCase, day);
      const uint32_t seed = 123 + round;
      const int skip = Skips[round % 4];
      const Collected expected = collectWith(ChoiceModelPath::Reference,
                                             simulation, screening, seed, skip);
      if (static_cast<int32_t>(expected.candidates.size()) > testCase.nSeats)
        ++nLotteries;
      for (ChoiceModelPath path : fastPaths()) {
        const Collected actual =
            collectWith(path, simulation, screening, seed, skip);
        ASSERT_EQ(actual.candidates, expected.candidates)
            << nameOf(path) << ", " << nViewers << " viewers, round " << round;
        ASSERT_EQ(actual.nextOutput, expected.nextOutput)
            << nameOf(path) << ", " << nViewers << " viewers, round " << round;
        ++nCompared;
      }
    }
  }
  EXPECT_GT(nCompared, 0);
  // Both kinds of screening occur: with a lottery and without.
  EXPECT_GT(nLotteries, 0);
  EXPECT_LT(nLotteries, 48);
}

TEST(FastPathChoiceModel, BatchedPassLeavesTheRunStateAsItWas) {
  TestDice dice(99);
  TestCase testCase = someTestCase(dice, 2000, 3, 50);
  Simulation simulation(testCase);
  simulation.reset();
  fillHistory(dice, simulation, 100);
  const Screening screening = someScreening(dice, testCase, 100);
  const std::vector<int32_t> lastDayBefore = simulation.lastDay;
  std::vector<std::vector<int32_t>> seenBefore;
  for (const std::vector<Viewing>& seen : simulation.viewings) {
    seenBefore.emplace_back();
    for (const Viewing& viewing : seen)
      seenBefore.back().push_back(viewing.nSeen);
  }
  // The repeat factors scattered for one film must not leak into the next
  // film's pass: collect for every film twice in turn and compare with the
  // reference each time.
  for (ChoiceModelPath path : fastPaths()) {
    for (int pass = 0; pass < 2 * testCase.nMovies; ++pass) {
      Screening other = screening;
      other.movieNo = pass % testCase.nMovies;
      other.end = other.start + testCase.movies[other.movieNo].runtime;
      const Collected expected =
          collectWith(ChoiceModelPath::Reference, simulation, other, 124, pass);
      const Collected actual = collectWith(path, simulation, other, 124, pass);
      ASSERT_EQ(actual.candidates, expected.candidates) << nameOf(path);
      ASSERT_EQ(actual.nextOutput, expected.nextOutput) << nameOf(path);
    }
  }
  EXPECT_EQ(simulation.lastDay, lastDayBefore);
  for (size_t m = 0; m < seenBefore.size(); ++m) {
    ASSERT_EQ(simulation.viewings[m].size(), seenBefore[m].size());
    for (size_t i = 0; i < seenBefore[m].size(); ++i)
      EXPECT_EQ(simulation.viewings[m][i].nSeen, seenBefore[m][i]);
  }
}

TEST(FastPathAdmission, AdmitCountsRepeatsAndInsertsNewcomersInOrder) {
  TestDice dice(77);
  // Viewer indices of one, two and three bytes for the radix passes; film
  // records from none to almost every viewer; seats from one to more than
  // the candidates.
  const int32_t ViewerCounts[4] = {1, 200, 5000, 70000};
  for (int32_t nViewers : ViewerCounts) {
    TestCase testCase;
    testCase.nViewers = nViewers;
    testCase.nMovies = 1;
    testCase.viewers.resize(nViewers);
    testCase.movies.resize(1);
    for (int round = 0; round < 30; ++round) {
      Simulation simulation(testCase);
      simulation.reset();
      const int32_t density = 1 + dice.below(4);
      std::vector<int32_t> expectedSeen(nViewers, 0);
      for (int32_t j = 0; j < nViewers; ++j) {
        if (dice.below(density * density) != 0) continue;
        expectedSeen[j] = 1 + dice.below(3);
        simulation.viewings[0].push_back(Viewing{j, expectedSeen[j]});
      }
      // Distinct candidates, ascending as without a lottery or shuffled as
      // after one.
      std::vector<int32_t> candidates;
      const int32_t spread = 1 + dice.below(40);
      for (int32_t j = 0; j < nViewers; ++j)
        if (dice.below(spread) == 0) candidates.push_back(j);
      if (dice.below(2) == 0) {
        for (size_t i = candidates.size(); i > 1; --i)
          std::swap(candidates[i - 1],
                    candidates[dice.below(static_cast<int32_t>(i))]);
      }
      const int32_t nCandidates = static_cast<int32_t>(candidates.size());
      testCase.nSeats = 1 + dice.below(nCandidates + 2);
      Simulation admitting(testCase);
      admitting.reset();
      admitting.viewings = simulation.viewings;
      const int32_t k = std::min(testCase.nSeats, nCandidates);
      std::vector<int32_t> expectedLastDay(nViewers, -367);
      for (int32_t c = 0; c < k; ++c) {
        expectedSeen[candidates[c]] += 1;
        expectedLastDay[candidates[c]] = 42;
      }
      Screening screening;
      screening.day = 42;
      admitting.admit(screening, candidates);

      EXPECT_EQ(admitting.nTicketsSold, k);
      EXPECT_EQ(admitting.lastDay, expectedLastDay);
      std::vector<Viewing> expected;
      for (int32_t j = 0; j < nViewers; ++j)
        if (expectedSeen[j] > 0)
          expected.push_back(Viewing{j, expectedSeen[j]});
      const std::vector<Viewing>& seen = admitting.viewings[0];
      ASSERT_EQ(seen.size(), expected.size())
          << nViewers << " viewers, round " << round;
      for (size_t i = 0; i < seen.size(); ++i) {
        ASSERT_EQ(seen[i].iViewer, expected[i].iViewer) << "record " << i;
        ASSERT_EQ(seen[i].nSeen, expected[i].nSeen) << "record " << i;
      }
    }
  }
}

// A whole schedule: several screenings a day, with few seats so that
// lotteries run, and films shown again so that repeats count.
Submission someSchedule(TestDice& dice, const TestCase& testCase,
                        int32_t nDays) {
  Submission submission;
  for (int32_t day = 0; day < nDays; ++day) {
    int64_t free = int64_t(day) * 1440 + dice.below(600);
    const int32_t nShows = 1 + dice.below(5);
    for (int32_t s = 0; s < nShows && free < int64_t(day + 1) * 1440; ++s) {
      Screening screening;
      screening.movieNo = dice.below(testCase.nMovies);
      screening.day = static_cast<int32_t>(free / 1440);
      screening.startMinute = static_cast<int32_t>(free % 1440);
      screening.start = free;
      screening.end = free + testCase.movies[screening.movieNo].runtime;
      submission.screenings.push_back(screening);
      free = screening.end + dice.below(60);
    }
  }
  for (int32_t i = 0; i < static_cast<int32_t>(submission.screenings.size());
       ++i)
    submission.order.push_back(i);
  return submission;
}

// The state of a finished run, for comparison.
struct RunResult {
  int32_t nTicketsSold;
  std::vector<int32_t> lastDay;
  std::vector<int32_t> viewings;  // iViewer, nSeen of every film in turn
  uint32_t nextOutput;
  bool operator==(const RunResult& o) const {
    return nTicketsSold == o.nTicketsSold && lastDay == o.lastDay &&
           viewings == o.viewings && nextOutput == o.nextOutput;
  }
};

// Runs `schedule` on `simulation` with `seed` and returns its state.
RunResult runOn(Simulation& simulation, const Submission& schedule,
                uint32_t seed) {
  RandomSource::seed(seed);
  simulation.run(schedule);
  RunResult result;
  result.nTicketsSold = simulation.nTicketsSold;
  result.lastDay = simulation.lastDay;
  for (const std::vector<Viewing>& seen : simulation.viewings) {
    for (const Viewing& viewing : seen) {
      result.viewings.push_back(viewing.iViewer);
      result.viewings.push_back(viewing.nSeen);
    }
  }
  result.nextOutput = RandomSource::next32();
  return result;
}

// A run on `path`; with `audiencesAllowed` false, a fast path keeps the
// films' lists through the run, as a test case too large for the audiences
// would.
RunResult runWith(ChoiceModelPath path, const TestCase& testCase,
                  const Submission& schedule, uint32_t seed,
                  bool audiencesAllowed = true) {
  Simulation simulation(testCase);
  simulation.choiceModelPath = path;
  if (!audiencesAllowed) simulation.maxAudienceBytes = 0;
  return runOn(simulation, schedule, seed);
}

TEST(FastPathAdmission, AdmitAfterPassesWithoutAdmitUsesTheCurrentLists) {
  // A batched pass whose admit never comes, lists changed behind it, then a
  // pass and its admit on another film: the same run state as the
  // reference pass and admit on the changed lists.
  TestDice dice(404);
  TestCase testCase = someTestCase(dice, 1500, 4, 40);
  for (ChoiceModelPath path : fastPaths()) {
    for (int round = 0; round < 8; ++round) {
      Simulation fast(testCase);
      fast.reset();
      fast.choiceModelPath = path;
      const int32_t day = 50 + round;
      fillHistory(dice, fast, day);
      Screening abandoned = someScreening(dice, testCase, day);
      std::vector<int32_t> candidates;
      RandomSource::seed(123);
      fast.collectCandidates(abandoned, candidates);
      fillHistory(dice, fast, day);
      Screening screening = someScreening(dice, testCase, day);
      if (round % 2 == 0) screening.movieNo = abandoned.movieNo;
      screening.end =
          screening.start + testCase.movies[screening.movieNo].runtime;

      Simulation reference(testCase);
      reference.reset();
      reference.choiceModelPath = ChoiceModelPath::Reference;
      reference.lastDay = fast.lastDay;
      reference.viewings = fast.viewings;
      for (Simulation* simulation : {&fast, &reference}) {
        RandomSource::seed(124);
        std::vector<int32_t> drawn;
        simulation->collectCandidates(screening, drawn);
        simulation->admit(screening, drawn);
      }
      ASSERT_EQ(fast.nTicketsSold, reference.nTicketsSold);
      ASSERT_EQ(fast.lastDay, reference.lastDay);
      for (int32_t m = 0; m < testCase.nMovies; ++m) {
        ASSERT_EQ(fast.viewings[m].size(), reference.viewings[m].size());
        for (size_t i = 0; i < fast.viewings[m].size(); ++i) {
          ASSERT_EQ(fast.viewings[m][i].iViewer,
                    reference.viewings[m][i].iViewer);
          ASSERT_EQ(fast.viewings[m][i].nSeen, reference.viewings[m][i].nSeen);
        }
      }
    }
  }
}

// Runs `schedule` with two seeds on every fast path, with the films'
// audiences and with their lists, and on the reference path: the whole run
// states must agree.
void expectRunsLikeTheReference(const TestCase& testCase,
                                const Submission& schedule, int caseNo) {
  for (uint32_t seed : {123U, 124U}) {
    const RunResult expected =
        runWith(ChoiceModelPath::Reference, testCase, schedule, seed);
    for (ChoiceModelPath path : fastPaths()) {
      for (bool audiences : {true, false}) {
        ASSERT_TRUE(runWith(path, testCase, schedule, seed, audiences) ==
                    expected)
            << nameOf(path) << (audiences ? "" : " with lists") << ", case "
            << caseNo << ", seed " << seed;
      }
    }
  }
}

TEST(FastPathRuns, WholeRunsEqualTheReference) {
  TestDice dice(5);
  for (int c = 0; c < 12; ++c) {
    const int32_t nViewers = 50 + dice.below(900);
    const int32_t nSeats = 1 + dice.below(c % 2 == 0 ? 10 : nViewers);
    TestCase testCase = someTestCase(dice, nViewers, 1 + dice.below(8), nSeats);
    // Ordinary running times only, so that a day holds several shows.
    for (Movie& movie : testCase.movies) movie.runtime = 1 + dice.below(200);
    const Submission schedule =
        someSchedule(dice, testCase, 10 + dice.below(20));
    expectRunsLikeTheReference(testCase, schedule, c);
  }
}

// Test cases this large get the exact test's time factors from a table by
// preferred time.
TEST(FastPathRuns, RunsOfManyViewersEqualTheReference) {
  TestDice dice(15);
  const int32_t NViewers = MinViewersForTimeTable + 100;
  TestCase testCase = someTestCase(dice, NViewers, 6, 300);
  for (Movie& movie : testCase.movies) movie.runtime = 1 + dice.below(200);
  testCase.movies[0].runtime = 1500;  // a day and more
  expectRunsLikeTheReference(testCase, someSchedule(dice, testCase, 40), 0);
}

TEST(FastPathRuns, CrowdedRunsOfOneFilmEqualTheReference) {
  // Seats for everyone, a well rated film of every genre and months of
  // shows: most tickets go to viewers who have seen the film before, many
  // of them three times and more, whom the films' audiences count apart.
  TestDice dice(909);
  for (int c = 0; c < 4; ++c) {
    const int32_t nViewers = 20 + dice.below(300);
    TestCase testCase = someTestCase(dice, nViewers, 1 + c % 2, nViewers);
    for (Movie& movie : testCase.movies) {
      movie.runtime = 80 + dice.below(100);
      movie.rating = 10.0;
      movie.genres = 0xFFFFFFFFU;
    }
    const Submission schedule = someSchedule(dice, testCase, 150);
    expectRunsLikeTheReference(testCase, schedule, c);
  }
}

TEST(FastPathRuns, ASimulationRunAgainRepeatsTheRunsOfFreshOnes) {
  // Each run starts with a reset: whatever a run leaves behind (longer
  // lists, counts of a pass whose admit never came) must not reach the next
  // one on the same simulation.
  TestDice dice(808);
  for (int c = 0; c < 4; ++c) {
    TestCase testCase = someTestCase(dice, 200 + dice.below(2000),
                                     1 + dice.below(6), 1 + dice.below(60));
    for (Movie& movie : testCase.movies) movie.runtime = 1 + dice.below(200);
    const Submission schedule = someSchedule(dice, testCase, 20);
    const Submission shorter = someSchedule(dice, testCase, 5);
    for (ChoiceModelPath path : fastPaths()) {
      Simulation reused(testCase);
      reused.choiceModelPath = path;
      for (uint32_t seed : {123U, 124U, 125U}) {
        ASSERT_TRUE(runOn(reused, schedule, seed) ==
                    runWith(path, testCase, schedule, seed))
            << nameOf(path) << ", case " << c << ", seed " << seed;
        ASSERT_TRUE(runOn(reused, shorter, seed) ==
                    runWith(path, testCase, shorter, seed));
        // A pass whose admit never comes, after the run's last screening
        // (no visit lies later).
        std::vector<int32_t> abandoned;
        reused.collectCandidates(shorter.screenings.back(), abandoned);
      }
    }
  }
}

}  // namespace
