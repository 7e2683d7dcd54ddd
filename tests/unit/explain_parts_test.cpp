#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "explain/explain.h"
#include "explain/explain_charts.h"
#include "explain/problem_digest.h"
#include "explain/year_calendar.h"

namespace {

typedef std::vector<std::string> Words;

TEST(ExplainArguments, TableOptionMayStandAnywhere) {
  for (const Words& words :
       {Words{"--csv", "t.csv", "in.txt", "sub.txt", "page.html", "7"},
        Words{"in.txt", "--csv", "t.csv", "sub.txt", "page.html", "7"},
        Words{"in.txt", "sub.txt", "page.html", "--csv", "t.csv", "7"},
        Words{"in.txt", "sub.txt", "page.html", "7", "--csv", "t.csv"}}) {
    ExplainArguments parsed;
    ASSERT_EQ("", parseExplainArguments(words, parsed)) << words[0] << words[1];
    EXPECT_EQ("t.csv", parsed.csvPath);
    EXPECT_EQ("in.txt", parsed.evaluation.testCasePath);
    EXPECT_EQ("sub.txt", parsed.evaluation.submissionPath);
    EXPECT_EQ("page.html", parsed.evaluation.reportPath);
    EXPECT_EQ(7, parsed.evaluation.nSimulacij);
  }
}

TEST(ExplainArguments, RunCountAndPathsAsEvalTakesThem) {
  ExplainArguments parsed;
  ASSERT_EQ("", parseExplainArguments({"a", "b", "c"}, parsed));
  EXPECT_EQ(3, parsed.evaluation.nSimulacij);
  EXPECT_EQ("", parsed.csvPath);
  ASSERT_EQ("", parseExplainArguments({"a", "b", "c", " 5x"}, parsed));
  EXPECT_EQ(5, parsed.evaluation.nSimulacij);
}

TEST(ExplainArguments, WrongCommandLinesAreRefused) {
  for (const Words& words :
       {Words{"a", "b"}, Words{"a", "b", "c", "0"}, Words{"a", "b", "c", "-2"},
        Words{"a", "b", "c", "abc"}, Words{"a", "b", "c", "--csv"},
        Words{"a", "b", "--csv", "t.csv"},
        Words{"a", "b", "c", "--csv", "t.csv", "--csv", "u.csv"},
        Words{"a", "b", "c", "--csv", ""}, Words{"a", "b", "c", "5", "extra"},
        Words{"a", "b", "c", "--cvs", "t.csv"}}) {
    ExplainArguments parsed;
    EXPECT_NE("", parseExplainArguments(words, parsed)) << words.size();
  }
}

TEST(ExplainProblems, DigestKeepsTheFirstMessagesAndEveryNamedScreening) {
  ProblemDigest digest(2);
  digest.add(SchedulingProblem::day(4, 400));
  digest.add(SchedulingProblem::overlap(9, {10, 69}, 1, {0, 299}));
  digest.add(SchedulingProblem::endOfYear(526999, 5));
  digest.add(SchedulingProblem::wrongCase(3, 5));
  EXPECT_EQ(4u, digest.nProblems());
  EXPECT_EQ((std::vector<std::string>{
                "Pri 5. predstavi je dan 400 (moral bi biti 0..365).",
                "10. predstava pokriva obdobje 10..69, 2. predstava pa obdobje "
                "0..299, torej se prekrivata [casi so v minutah od zacetka leta]."}),
            digest.shownTexts());
  // Problems past the shown ones still mark their screenings.
  for (size_t i : {1, 4, 9, 526999}) EXPECT_TRUE(digest.names(i)) << i;
  for (size_t i : {0, 2, 8, 10, 526998, 527000, 1 << 30}) EXPECT_FALSE(digest.names(i)) << i;
  ProblemDigest none(0);
  none.add(SchedulingProblem::wrongCase(3, 5));
  EXPECT_EQ(1u, none.nProblems());
  EXPECT_TRUE(none.shownTexts().empty());
  EXPECT_FALSE(none.names(0));
}

TEST(ExplainCalendar, DaysOfTheLeapYear) {
  EXPECT_EQ("1. jan", dateOf(0));
  EXPECT_EQ("31. jan", dateOf(30));
  EXPECT_EQ("29. feb", dateOf(59));
  EXPECT_EQ("1. mar", dateOf(60));
  EXPECT_EQ("31. dec", dateOf(365));
  EXPECT_EQ("?", dateOf(366));
  EXPECT_EQ("?", dateOf(-1));
  int32_t days = 0;
  for (int month = 0; month < MonthsPerYear; ++month) days += monthLength(month);
  EXPECT_EQ(DaysPerYear, days);
}

TEST(ExplainCharts, ColourScaleEndsAndClamps) {
  EXPECT_EQ("#440154", shareColour(0));
  EXPECT_EQ("#fde725", shareColour(1));
  EXPECT_EQ("#21918c", shareColour(0.5));
  EXPECT_EQ(shareColour(0), shareColour(-3));
  EXPECT_EQ(shareColour(1), shareColour(7));
  EXPECT_EQ(shareColour(0), shareColour(std::nan("")));
}

TimelineBar bar(int64_t start, int64_t end, double share, bool marked = false) {
  TimelineBar b;
  b.start = start;
  b.end = end;
  b.share = share;
  b.marked = marked;
  return b;
}

TEST(ExplainCharts, AggregatedCellsWeighShareByMinutes) {
  // 20 minutes at share 1 and 40 at share 0.25 in the first hour.
  std::vector<TimelineBar> cells =
      aggregatePerHour({bar(0, 20, 1.0), bar(20, 60, 0.25)});
  ASSERT_EQ(1u, cells.size());
  EXPECT_EQ(0, cells[0].start);
  EXPECT_EQ(60, cells[0].end);
  EXPECT_DOUBLE_EQ(0.5, cells[0].share);
  EXPECT_DOUBLE_EQ(1.0, cells[0].opacity);
  EXPECT_FALSE(cells[0].marked);
  EXPECT_EQ(-1, cells[0].screening);
}

TEST(ExplainCharts, AggregatedBarsPassMidnightAndKeepMarks) {
  // From 23:30 on day 0 to 00:45 on day 1: one cell on each day.
  std::vector<TimelineBar> cells =
      aggregatePerHour({bar(1410, 1485, 0.5, true)});
  ASSERT_EQ(2u, cells.size());
  EXPECT_EQ(1380, cells[0].start);
  EXPECT_EQ(1440, cells[1].start);
  EXPECT_DOUBLE_EQ(0.5, cells[0].opacity);
  EXPECT_DOUBLE_EQ(0.75, cells[1].opacity);
  EXPECT_TRUE(cells[0].marked && cells[1].marked);
  // The last minute of the year is the last cell; nothing lies beyond it.
  cells = aggregatePerHour({bar(527039, 527040, 1.0)});
  ASSERT_EQ(1u, cells.size());
  EXPECT_EQ(527040 - 60, cells[0].start);
  EXPECT_DOUBLE_EQ(0.25, cells[0].opacity);  // at least a quarter, to be seen
}

// The cells of aggregatePerHour worked out minute by minute.
std::vector<TimelineBar> cellsMinuteByMinute(const std::vector<TimelineBar>& bars) {
  const int64_t nCells = DaysPerYear * 24;
  std::vector<int64_t> minutes(nCells, 0);
  std::vector<double> weighted(nCells, 0);
  std::vector<bool> marked(nCells, false), unknown(nCells, false);
  for (const TimelineBar& b : bars)
    for (int64_t minute = std::max<int64_t>(0, b.start);
         minute < std::min<int64_t>(b.end, nCells * 60); ++minute) {
      minutes[minute / 60] += 1;
      weighted[minute / 60] += b.share;
      marked[minute / 60] = marked[minute / 60] || b.marked;
      unknown[minute / 60] = unknown[minute / 60] || b.share < 0;
    }
  std::vector<TimelineBar> cells;
  for (int64_t c = 0; c < nCells; ++c) {
    if (minutes[c] == 0) continue;
    TimelineBar cell = bar(c * 60, c * 60 + 60, unknown[c] ? -1 : weighted[c] / minutes[c],
                           marked[c]);
    cell.opacity = std::max(0.25, minutes[c] / 60.0);
    cells.push_back(cell);
  }
  return cells;
}

TEST(ExplainCharts, AggregatedCellsAreThoseOfEveryMinute) {
  const int64_t yearEnd = DaysPerYear * 24 * 60;
  const std::vector<std::vector<TimelineBar>> schedules = {
      // Starting and ending within an hour, on whole hours, one of two and
      // three whole hours, from 23:10 on day 0 to 02:50 on day 1.
      {bar(95, 1000, 0.3), bar(120, 240, 0.4), bar(600, 780, 0.2),
       bar(1390, 1610, 0.7, true), bar(1000, 1001, 1.0)},
      // Before the year and beyond it; shares overlapping in many hours.
      {bar(-500, 130, 0.9), bar(yearEnd - 200, yearEnd + 5000, 0.1),
       bar(-3, yearEnd + 3, 0.55), bar(40, 100000, 0.125), bar(30000, 30017, 1.0)},
      // Unknown shares, which make a cell unknown, and marked long bars.
      {bar(3000, 9000, -1), bar(2950, 3010, 0.5), bar(8990, 12000, 0.75),
       bar(20000, 90000, 0.6, true), bar(20010, 20020, -1, true),
       bar(89999, 90061, 0.0)},
      // Many long bars ending near one another: sums that grow and shrink.
      {bar(7, 300000, 1.0 / 3), bar(11, 300001, 2.0 / 3), bar(13, 299999, 0.1),
       bar(299990, 300050, 0.0)}};
  for (size_t s = 0; s < schedules.size(); ++s) {
    SCOPED_TRACE(s);
    const std::vector<TimelineBar> expected = cellsMinuteByMinute(schedules[s]);
    const std::vector<TimelineBar> cells = aggregatePerHour(schedules[s]);
    ASSERT_EQ(expected.size(), cells.size());
    for (size_t i = 0; i < cells.size(); ++i) {
      SCOPED_TRACE(expected[i].start);
      EXPECT_EQ(expected[i].start, cells[i].start);
      EXPECT_EQ(expected[i].end, cells[i].end);
      EXPECT_NEAR(expected[i].share, cells[i].share, 1e-9);
      EXPECT_EQ(expected[i].share < 0, cells[i].share < 0);
      EXPECT_DOUBLE_EQ(expected[i].opacity, cells[i].opacity);
      EXPECT_EQ(expected[i].marked, cells[i].marked);
      EXPECT_EQ(-1, cells[i].screening);
    }
  }
  // Whole hours of shares 1/2 and 1/4 in steps of 2^-32: exactly 3/8.
  std::vector<TimelineBar> cells = aggregatePerHour({bar(0, 600, 0.5), bar(0, 600, 0.25)});
  ASSERT_EQ(10u, cells.size());
  EXPECT_EQ(0.375, cells[5].share);
  EXPECT_EQ(2.0, cells[5].opacity);  // the minutes of both bars
}

TEST(ExplainCharts, TimelineDrawsTheWholeDaysOfALongBarAsOneRectangle) {
  // From 23:30 on day 0 to 00:30 on day 9: ten days 40 px apart, bars 32 px.
  std::vector<TimelineBar> bars = {bar(1410, 9 * 1440 + 30, 0.5)};
  bars[0].screening = 0;
  const std::string svg = timelineSvg(bars, [](int32_t) { return std::string("tip"); });
  size_t tips = 0;
  for (size_t at = svg.find("<title>tip</title>"); at != std::string::npos;
       at = svg.find("<title>tip</title>", at + 1))
    ++tips;
  EXPECT_EQ(3u, tips);
  EXPECT_NE(std::string::npos,
            svg.find("<rect x=\"44.0\" y=\"727.0\" width=\"32.0\" height=\"15.0\""));
  EXPECT_NE(std::string::npos,
            svg.find("<rect x=\"84.0\" y=\"22.0\" width=\"312.0\" height=\"720.0\""));
  EXPECT_NE(std::string::npos,
            svg.find("<rect x=\"404.0\" y=\"22.0\" width=\"32.0\" height=\"15.0\""));
}

TEST(ExplainCharts, TimelineDrawsEveryDayOfABarThatPassesMidnight) {
  std::vector<TimelineBar> bars = {bar(1410, 1485, 0.5)};
  bars[0].screening = 0;
  std::string svg = timelineSvg(bars, [](int32_t) { return std::string("tip"); });
  size_t tips = 0;
  for (size_t at = svg.find("<title>tip</title>"); at != std::string::npos;
       at = svg.find("<title>tip</title>", at + 1))
    ++tips;
  EXPECT_EQ(2u, tips);
}

}  // namespace
