#include "submission/submission.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "submission/problem_sink.h"
#include "testcase/test_case.h"

namespace {

// A test case numbered `caseNo` whose films have the given running times.
TestCase caseWithRuntimes(int32_t caseNo, const std::vector<int32_t>& runtimes) {
  TestCase testCase;
  testCase.caseNo = caseNo;
  for (size_t i = 0; i < runtimes.size(); ++i) {
    Movie movie;
    movie.seqNo = static_cast<int32_t>(i);
    movie.runtime = runtimes[i];
    movie.rating = 5;
    testCase.movies.push_back(movie);
  }
  testCase.nMovies = static_cast<int32_t>(runtimes.size());
  testCase.nViewers = 1;
  testCase.viewers.resize(1);
  testCase.nSeats = 10;
  return testCase;
}

Screening screening(int32_t movieNo, int32_t day, int32_t startMinute) {
  Screening s;
  s.movieNo = movieNo;
  s.day = day;
  s.startMinute = startMinute;
  return s;
}

Submission submissionFor(int32_t caseNo,
                         const std::vector<Screening>& screenings) {
  Submission submission;
  submission.caseNo = caseNo;
  submission.screenings = screenings;
  return submission;
}

// Validates and returns the text written into the message stream; `valid`
// receives the result.
std::string messagesOf(Submission& submission, const TestCase& testCase,
                       bool& valid) {
  std::ostringstream messages;
  ProblemLineWriter lines(messages);
  valid = submission.validate(testCase, lines);
  return messages.str();
}

// For schedules that must be rejected: the messages, checking the result.
std::string rejectionOf(Submission& submission, const TestCase& testCase) {
  bool valid = true;
  std::string text = messagesOf(submission, testCase, valid);
  EXPECT_FALSE(valid);
  return text;
}

// For schedules that must be accepted: checks that nothing was written.
void expectValid(Submission& submission, const TestCase& testCase) {
  bool valid = false;
  EXPECT_EQ("", messagesOf(submission, testCase, valid));
  EXPECT_TRUE(valid);
}

// Keeps every problem that validation hands on.
class ProblemRecorder : public ProblemSink {
 public:
  void add(const SchedulingProblem& problem) override {
    problems.push_back(problem);
  }
  std::vector<SchedulingProblem> problems;
};

// The problems of a schedule that must be rejected, each checked to give
// the line that the message stream gets for it.
std::vector<SchedulingProblem> problemsOf(Submission& submission,
                                          const TestCase& testCase) {
  Submission again = submission;
  ProblemRecorder recorder;
  EXPECT_FALSE(submission.validate(testCase, recorder));
  std::string lines;
  for (const SchedulingProblem& problem : recorder.problems)
    lines += problem.text() + "\n";
  EXPECT_EQ(rejectionOf(again, testCase), lines);
  return recorder.problems;
}

typedef SchedulingProblem::Kind Kind;

// What a problem names and quotes, besides its text.
void expectProblem(const SchedulingProblem& problem, Kind kind,
                   int32_t screening, int32_t otherScreening,
                   const std::string& text) {
  EXPECT_EQ(static_cast<int>(kind), static_cast<int>(problem.kind)) << text;
  EXPECT_EQ(screening, problem.screening) << text;
  EXPECT_EQ(otherScreening, problem.otherScreening) << text;
  EXPECT_EQ(text, problem.text());
}

std::string overlapMessage(int f, int64_t fStart, int64_t fLast, int h,
                           int64_t hStart, int64_t hLast) {
  return std::to_string(f) + ". predstava pokriva obdobje " +
         std::to_string(fStart) + ".." + std::to_string(fLast) + ", " +
         std::to_string(h) + ". predstava pa obdobje " +
         std::to_string(hStart) + ".." + std::to_string(hLast) +
         ", torej se prekrivata [casi so v minutah od zacetka leta].\n";
}

std::string withoutLineEnd(const std::string& line) {
  return line.substr(0, line.size() - 1);
}

const TestCase TwoFilms = caseWithRuntimes(3, {100, 90});

TEST(ScheduleValidationComputeTimes, StartAndEndInMinutesOfTheYear) {
  Screening s = screening(1, 2, 40);
  s.computeTimes(TwoFilms);
  EXPECT_EQ(2 * 1440 + 40, s.start);
  EXPECT_EQ(2 * 1440 + 40 + 90, s.end);
}

TEST(ScheduleValidationComputeTimes, UnknownFilmRunsZeroMinutes) {
  for (int32_t movieNo : {2, -1, 2147483647, -2147483647 - 1}) {
    Screening s = screening(movieNo, 1, 5);
    s.computeTimes(TwoFilms);
    EXPECT_EQ(1445, s.start);
    EXPECT_EQ(1445, s.end);
  }
}

TEST(ScheduleValidationComputeTimes, ExtremeValuesDoNotWrap) {
  TestCase longFilm = caseWithRuntimes(0, {2147483647});
  Screening s = screening(0, 2147483647, 2147483647);
  s.computeTimes(longFilm);
  EXPECT_EQ(INT64_C(3092376451680) + 2147483647, s.start);
  EXPECT_EQ(INT64_C(3092376451680) + 2 * INT64_C(2147483647), s.end);
  Screening low = screening(0, -2147483647 - 1, -2147483647 - 1);
  low.computeTimes(longFilm);
  EXPECT_EQ(INT64_C(-3092376453120) - INT64_C(2147483648), low.start);
}

TEST(ScheduleValidationCaseNumber, WrongCaseIsTheOnlyMessage) {
  Submission submission =
      submissionFor(5, {screening(10, 400, 2000), screening(0, 0, 0)});
  EXPECT_EQ("Vhodna datoteka je testni primer 3, izhodna pa primer 5.\n",
            rejectionOf(submission, TwoFilms));
  EXPECT_TRUE(submission.order.empty());

  Submission negative = submissionFor(-1, {});
  EXPECT_EQ("Vhodna datoteka je testni primer 3, izhodna pa primer -1.\n",
            rejectionOf(negative, TwoFilms));
}

TEST(ScheduleValidationCaseNumber, EmptyScheduleOfTheRightCaseIsValid) {
  Submission submission = submissionFor(3, {});
  expectValid(submission, TwoFilms);
  EXPECT_TRUE(submission.order.empty());
}

TEST(ScheduleValidationRanges, FilmNumber) {
  TestCase tenFilms = caseWithRuntimes(3, std::vector<int32_t>(10, 60));
  Submission tooLarge = submissionFor(3, {screening(10, 0, 0)});
  EXPECT_EQ("Pri 1. predstavi je stevilka filma 10 (morala bi biti 0..9).\n",
            rejectionOf(tooLarge, tenFilms));
  Submission negative = submissionFor(3, {screening(-1, 0, 0)});
  EXPECT_EQ("Pri 1. predstavi je stevilka filma -1 (morala bi biti 0..9).\n",
            rejectionOf(negative, tenFilms));
  TestCase noFilms = caseWithRuntimes(3, {});
  Submission any = submissionFor(3, {screening(0, 0, 0)});
  EXPECT_EQ("Pri 1. predstavi je stevilka filma 0 (morala bi biti 0..-1).\n",
            rejectionOf(any, noFilms));
}

TEST(ScheduleValidationRanges, DayAndTimeOfDay) {
  Submission lateDay = submissionFor(3, {screening(0, 366, 0)});
  EXPECT_EQ(
      "Pri 1. predstavi je dan 366 (moral bi biti 0..365).\n"
      "Pri 1. predstavi je konec filma ze v naslednjem letu (za 100 min).\n",
      rejectionOf(lateDay, TwoFilms));
  Submission earlyDay = submissionFor(3, {screening(0, -1, 0)});
  EXPECT_EQ("Pri 1. predstavi je dan -1 (moral bi biti 0..365).\n",
            rejectionOf(earlyDay, TwoFilms));
  Submission lateMinute = submissionFor(3, {screening(0, 0, 1440)});
  EXPECT_EQ(
      "Pri 1. predstavi je cas zacetka 1440 (moral bi biti 0..1439).\n",
      rejectionOf(lateMinute, TwoFilms));
  Submission earlyMinute = submissionFor(3, {screening(0, 0, -5)});
  EXPECT_EQ("Pri 1. predstavi je cas zacetka -5 (moral bi biti 0..1439).\n",
            rejectionOf(earlyMinute, TwoFilms));
  Submission bounds = submissionFor(3, {screening(0, 0, 0),
                                        screening(1, 365, 1439 - 90)});
  expectValid(bounds, TwoFilms);
}

TEST(ScheduleValidationRanges, EndOfYear) {
  TestCase films = caseWithRuntimes(3, {100, 101});
  Submission exactEnd = submissionFor(3, {screening(0, 365, 1340)});
  expectValid(exactEnd, films);
  EXPECT_EQ(527040, exactEnd.screenings[0].end);
  Submission oneMinuteOver = submissionFor(3, {screening(1, 365, 1340)});
  EXPECT_EQ(
      "Pri 1. predstavi je konec filma ze v naslednjem letu (za 1 min).\n",
      rejectionOf(oneMinuteOver, films));
  // An unknown film runs no minutes, so it cannot end in the next year.
  Submission unknownFilm = submissionFor(3, {screening(2, 365, 1439)});
  EXPECT_EQ("Pri 1. predstavi je stevilka filma 2 (morala bi biti 0..1).\n",
            rejectionOf(unknownFilm, films));
}

TEST(ScheduleValidationRanges, EndOfYearIsExactForHugeValues) {
  TestCase longFilm = caseWithRuntimes(3, {2147483647, 100});
  Submission longest = submissionFor(3, {screening(0, 0, 0)});
  EXPECT_EQ(
      "Pri 1. predstavi je konec filma ze v naslednjem letu "
      "(za 2146956607 min).\n",
      rejectionOf(longest, longFilm));
  // In 32 bits this end would wrap to a negative minute.
  Submission wrapping = submissionFor(3, {screening(0, 365, 1439)});
  EXPECT_EQ(
      "Pri 1. predstavi je konec filma ze v naslednjem letu "
      "(za 2147483646 min).\n",
      rejectionOf(wrapping, longFilm));
  Submission farDay = submissionFor(3, {screening(1, 2147483647, 1439)});
  EXPECT_EQ(
      "Pri 1. predstavi je dan 2147483647 (moral bi biti 0..365).\n"
      "Pri 1. predstavi je konec filma ze v naslednjem letu "
      "(za 3092375926179 min).\n",
      rejectionOf(farDay, longFilm));
  Submission wrappingDay = submissionFor(3, {screening(1, 1491309, 0)});
  EXPECT_EQ(
      "Pri 1. predstavi je dan 1491309 (moral bi biti 0..365).\n"
      "Pri 1. predstavi je konec filma ze v naslednjem letu "
      "(za 2146958020 min).\n",
      rejectionOf(wrappingDay, longFilm));
  Submission farBack =
      submissionFor(3, {screening(0, -2147483647 - 1, -2147483647 - 1)});
  EXPECT_EQ(
      "Pri 1. predstavi je dan -2147483648 (moral bi biti 0..365).\n"
      "Pri 1. predstavi je cas zacetka -2147483648 (moral bi biti 0..1439).\n",
      rejectionOf(farBack, longFilm));
}

TEST(ScheduleValidationRanges, EveryScreeningIsCheckedInFileOrder) {
  Submission submission = submissionFor(
      3, {screening(0, 0, 0), screening(-3, 400, -1), screening(1, 10, 60),
          screening(1, 365, 1400)});
  EXPECT_EQ(
      "Pri 2. predstavi je stevilka filma -3 (morala bi biti 0..1).\n"
      "Pri 2. predstavi je dan 400 (moral bi biti 0..365).\n"
      "Pri 2. predstavi je cas zacetka -1 (moral bi biti 0..1439).\n"
      "Pri 2. predstavi je konec filma ze v naslednjem letu (za 48959 min).\n"
      "Pri 4. predstavi je konec filma ze v naslednjem letu (za 50 min).\n",
      rejectionOf(submission, TwoFilms));
  // Times are set on every screening even though the schedule failed.
  EXPECT_EQ(10 * 1440 + 60, submission.screenings[2].start);
  EXPECT_EQ(10 * 1440 + 150, submission.screenings[2].end);
  EXPECT_TRUE(submission.order.empty());
}

TEST(ScheduleValidationRanges, RangeErrorHidesOverlaps) {
  Submission submission = submissionFor(
      3, {screening(0, 0, 600), screening(1, 0, 650), screening(0, 1, 1500)});
  EXPECT_EQ(
      "Pri 3. predstavi je cas zacetka 1500 (moral bi biti 0..1439).\n",
      rejectionOf(submission, TwoFilms));
  EXPECT_TRUE(submission.order.empty());
}

TEST(ScheduleValidationOverlaps, WorkedExample) {
  Submission overlapping =
      submissionFor(3, {screening(0, 0, 600), screening(1, 0, 650)});
  EXPECT_EQ(overlapMessage(2, 650, 739, 1, 600, 699),
            rejectionOf(overlapping, TwoFilms));
  Submission touching =
      submissionFor(3, {screening(0, 0, 600), screening(1, 0, 700)});
  expectValid(touching, TwoFilms);
}

TEST(ScheduleValidationOverlaps, TouchingScreeningsInEitherFileOrder) {
  Submission later = submissionFor(3, {screening(1, 4, 700), screening(0, 4, 600)});
  expectValid(later, TwoFilms);
  EXPECT_EQ((std::vector<int32_t>{1, 0}), later.order);
  Submission acrossMidnight =
      submissionFor(3, {screening(0, 1, 0), screening(0, 0, 1340)});
  expectValid(acrossMidnight, TwoFilms);
}

TEST(ScheduleValidationOverlaps, EqualStartsNameTheLaterOneFirst) {
  Submission submission =
      submissionFor(3, {screening(0, 1, 0), screening(1, 1, 0)});
  EXPECT_EQ(overlapMessage(2, 1440, 1529, 1, 1440, 1539),
            rejectionOf(submission, TwoFilms));
  EXPECT_EQ((std::vector<int32_t>{0, 1}), submission.order);
}

TEST(ScheduleValidationOverlaps, EachBeginNamesTheFirstRunningInFile) {
  TestCase films = caseWithRuntimes(3, {300, 60});
  Submission inStartOrder = submissionFor(
      3, {screening(0, 0, 0), screening(1, 0, 10), screening(1, 0, 20)});
  EXPECT_EQ(overlapMessage(2, 10, 69, 1, 0, 299) +
                overlapMessage(3, 20, 79, 1, 0, 299),
            rejectionOf(inStartOrder, films));
  // Messages follow the sweep, not the file; the named screening is the
  // running one with the smallest index, which need not have begun first.
  Submission shuffled = submissionFor(
      3, {screening(1, 0, 20), screening(1, 0, 10), screening(0, 0, 0)});
  EXPECT_EQ(overlapMessage(2, 10, 69, 3, 0, 299) +
                overlapMessage(1, 20, 79, 2, 10, 69),
            rejectionOf(shuffled, films));
  EXPECT_EQ((std::vector<int32_t>{2, 1, 0}), shuffled.order);
}

TEST(ScheduleValidationOverlaps, ScreeningThatEndedIsNoLongerRunning) {
  TestCase films = caseWithRuntimes(3, {300, 60});
  // 2 overlaps 1; 3 begins after 2 has ended but while 1 still runs.
  Submission submission = submissionFor(
      3, {screening(0, 0, 0), screening(1, 0, 10), screening(1, 0, 100),
          screening(1, 0, 400)});
  EXPECT_EQ(overlapMessage(2, 10, 69, 1, 0, 299) +
                overlapMessage(3, 100, 159, 1, 0, 299),
            rejectionOf(submission, films));
}

TEST(ScheduleValidationOrder, ByStartThenIndex) {
  Submission submission = submissionFor(
      3, {screening(0, 200, 0), screening(1, 3, 600), screening(0, 0, 0),
          screening(1, 365, 1000), screening(0, 3, 300)});
  submission.order = {7, 7, 7};
  expectValid(submission, TwoFilms);
  EXPECT_EQ((std::vector<int32_t>{2, 4, 1, 0, 3}), submission.order);
  EXPECT_EQ(200 * 1440, submission.screenings[0].start);
  EXPECT_EQ(200 * 1440 + 100, submission.screenings[0].end);
}

TEST(ScheduleValidationOrder, FilledEvenWhenScreeningsOverlap) {
  Submission submission = submissionFor(
      3, {screening(1, 0, 650), screening(0, 0, 650), screening(0, 0, 600)});
  rejectionOf(submission, TwoFilms);
  EXPECT_EQ((std::vector<int32_t>{2, 0, 1}), submission.order);
}

TEST(ScheduleValidationProblems, EveryKindNamesItsScreeningsAndGivesItsMessage) {
  Submission otherCase = submissionFor(5, {screening(0, 0, 0)});
  std::vector<SchedulingProblem> problems = problemsOf(otherCase, TwoFilms);
  ASSERT_EQ(1u, problems.size());
  expectProblem(problems[0], Kind::WrongCase, -1, -1,
                "Vhodna datoteka je testni primer 3, izhodna pa primer 5.");
  EXPECT_EQ(5, problems[0].found);
  EXPECT_EQ(3, problems[0].allowed);

  Submission ranges = submissionFor(
      3, {screening(0, 0, 0), screening(-3, 400, -1), screening(1, 10, 60),
          screening(1, 365, 1400)});
  problems = problemsOf(ranges, TwoFilms);
  ASSERT_EQ(5u, problems.size());
  expectProblem(problems[0], Kind::FilmNumber, 1, -1,
                "Pri 2. predstavi je stevilka filma -3 (morala bi biti 0..1).");
  expectProblem(problems[1], Kind::Day, 1, -1,
                "Pri 2. predstavi je dan 400 (moral bi biti 0..365).");
  expectProblem(problems[2], Kind::StartMinute, 1, -1,
                "Pri 2. predstavi je cas zacetka -1 (moral bi biti 0..1439).");
  expectProblem(problems[3], Kind::EndOfYear, 1, -1,
                "Pri 2. predstavi je konec filma ze v naslednjem letu (za 48959 min).");
  expectProblem(problems[4], Kind::EndOfYear, 3, -1,
                "Pri 4. predstavi je konec filma ze v naslednjem letu (za 50 min).");
  EXPECT_EQ(400, problems[1].found);
  EXPECT_EQ(365, problems[1].allowed);

  TestCase films = caseWithRuntimes(3, {300, 60});
  Submission overlaps = submissionFor(
      3, {screening(1, 0, 20), screening(1, 0, 10), screening(0, 0, 0)});
  problems = problemsOf(overlaps, films);
  ASSERT_EQ(2u, problems.size());
  expectProblem(problems[0], Kind::Overlap, 1, 2,
                withoutLineEnd(overlapMessage(2, 10, 69, 3, 0, 299)));
  expectProblem(problems[1], Kind::Overlap, 0, 1,
                withoutLineEnd(overlapMessage(1, 20, 79, 2, 10, 69)));
  EXPECT_EQ(10, problems[0].period.first);
  EXPECT_EQ(69, problems[0].period.last);
  EXPECT_EQ(0, problems[0].otherPeriod.first);
  EXPECT_EQ(299, problems[0].otherPeriod.last);
}

TEST(ScheduleValidationProblems, LargeNumbersAreNamedAndQuotedWhole) {
  std::vector<Screening> screenings(527000, screening(0, 0, 0));
  for (size_t i = 0; i < screenings.size(); ++i)
    screenings[i] = screening(0, static_cast<int32_t>(i / 1440),
                              static_cast<int32_t>(i % 1440));
  screenings.back() = screening(1, 2147483647, 1439);
  TestCase longFilm = caseWithRuntimes(3, {1, 2147483647});
  Submission submission = submissionFor(3, screenings);
  const std::vector<SchedulingProblem> problems = problemsOf(submission, longFilm);
  ASSERT_EQ(2u, problems.size());
  expectProblem(problems[0], Kind::Day, 526999, -1,
                "Pri 527000. predstavi je dan 2147483647 (moral bi biti 0..365).");
  expectProblem(problems[1], Kind::EndOfYear, 526999, -1,
                "Pri 527000. predstavi je konec filma ze v naslednjem letu "
                "(za 3094523409726 min).");
}

TEST(ScheduleValidationLargeSchedule, ManyMutuallyOverlappingScreenings) {
  // Every screening starts on day 0 and runs into day 1, so all of them run
  // at midnight: each but the first in start order overlaps another.
  const int32_t n = 200000;
  TestCase longFilm = caseWithRuntimes(3, {2000});
  std::vector<Screening> screenings;
  for (int32_t i = 0; i < n; ++i)
    screenings.push_back(screening(0, 0, (i * 7919) % 1440));
  Submission submission = submissionFor(3, screenings);
  const std::string text = rejectionOf(submission, longFilm);
  EXPECT_EQ(n - 1, std::count(text.begin(), text.end(), '\n'));
  // Screening 1 starts at minute 0, no later than any other, so at every
  // later begin it is running and has the smallest index.
  const std::string namesFirst =
      ", 1. predstava pa obdobje 0..1999, torej se prekrivata";
  int64_t nNamingFirst = 0;
  for (size_t at = text.find(namesFirst); at != std::string::npos;
       at = text.find(namesFirst, at + 1))
    ++nNamingFirst;
  EXPECT_EQ(n - 1, nNamingFirst);
  ASSERT_EQ(static_cast<size_t>(n), submission.order.size());
  EXPECT_EQ(0, submission.order[0]);
  for (size_t k = 1; k < submission.order.size(); ++k) {
    const Screening& a = submission.screenings[submission.order[k - 1]];
    const Screening& b = submission.screenings[submission.order[k]];
    ASSERT_TRUE(a.start < b.start ||
                (a.start == b.start && submission.order[k - 1] < submission.order[k]));
  }
}

}  // namespace
