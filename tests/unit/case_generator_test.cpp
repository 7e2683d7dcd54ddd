#include "generate/case_generator.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "base/assertion.h"
#include "base/input_file.h"
#include "generate/baseline_schedule.h"
#include "submission/problem_sink.h"
#include "submission/submission.h"
#include "temp_file.h"
#include "testcase/test_case.h"

namespace {

// Reads `text` as the evaluator reads a test case; fails the test with the
// check that failed.
TestCase readBack(const std::string& text) {
  TempFile file(text);
  TestCase testCase;
  try {
    testCase.read(file.path());
  } catch (const EAssertion& failure) {
    ADD_FAILURE() << failure.message << " at " << failure.file << ":" << failure.line;
  }
  return testCase;
}

void expectDrawnWithinTheirRanges(const TestCase& testCase) {
  for (const Movie& movie : testCase.movies) {
    EXPECT_GE(movie.runtime, 60);
    EXPECT_LE(movie.runtime, 200);
    EXPECT_GE(movie.rating, 0.0);
    EXPECT_LE(movie.rating, 10.0);
    EXPECT_GE(__builtin_popcount(movie.genres), 1);
    EXPECT_LE(__builtin_popcount(movie.genres), 5);
  }
  for (const Viewer& viewer : testCase.viewers) {
    EXPECT_GE(__builtin_popcount(viewer.genres), 1);
    EXPECT_LE(__builtin_popcount(viewer.genres), 5);
  }
}

// The baseline schedule of the case reads and validates without a problem.
void expectValidBaseline(const TestCase& testCase) {
  TempFile file(baselineSchedule(testCase));
  InputFile is(file.path());
  Submission submission;
  try {
    submission.read(is);
  } catch (const EAssertion& failure) {
    ADD_FAILURE() << failure.message;
    return;
  }
  std::ostringstream messages;
  ProblemLineWriter writer(messages);
  EXPECT_TRUE(submission.validate(testCase, writer)) << messages.str();
  EXPECT_EQ(testCase.caseNo, submission.caseNo);
  EXPECT_EQ(testCase.nMovies > 0, !submission.screenings.empty());
}

TEST(CaseGenerator, EveryDrawnCaseReadsBackWithinItsRangesAndItsBaselineIsValid) {
  for (uint64_t seed = 0; seed < 30; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const std::string text = generateTestCase(seed, CaseParameters());
    EXPECT_EQ(text, generateTestCase(seed, CaseParameters()));
    const TestCase testCase = readBack(text);
    EXPECT_GE(testCase.nMovies, 10);
    EXPECT_LE(testCase.nMovies, 2000);
    EXPECT_GE(testCase.nViewers, 100);
    EXPECT_LE(testCase.nViewers, 50000);
    EXPECT_GE(testCase.nSeats, 10);
    EXPECT_LE(testCase.nSeats, 500);
    EXPECT_EQ(static_cast<int32_t>(seed), testCase.caseNo);
    expectDrawnWithinTheirRanges(testCase);
    expectValidBaseline(testCase);
  }
}

TEST(CaseGenerator, GivenSizesDownToNoFilmsAndOneViewerAreKept) {
  for (uint64_t seed = 1000; seed < 1300; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    CaseParameters given;
    given.nMovies = static_cast<int32_t>(seed % 4);
    given.nViewers = static_cast<int32_t>(seed % 5) + 1;
    given.nSeats = static_cast<int32_t>(seed % 3) + 1;
    given.caseNo = static_cast<int32_t>(seed % 7);
    const TestCase testCase = readBack(generateTestCase(seed, given));
    EXPECT_EQ(given.nMovies, testCase.nMovies);
    EXPECT_EQ(given.nViewers, testCase.nViewers);
    EXPECT_EQ(given.nSeats, testCase.nSeats);
    EXPECT_EQ(given.caseNo, testCase.caseNo);
    expectDrawnWithinTheirRanges(testCase);
    expectValidBaseline(testCase);
  }
}

}  // namespace
