#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "driver/explain.h"
#include "driver/explain_charts.h"
#include "driver/offending_screenings.h"
#include "driver/year_calendar.h"

namespace {

typedef std::vector<std::string> Words;

TEST(ExplainArguments, TableOptionMayStandAnywhere) {
  for (const Words& words :
       {Words{"--csv", "t.csv", "in.txt", "sub.txt", "page.html", "7"},
        Words{"in.txt", "--csv", "t.csv", "sub.txt", "page.html", "7"},
        Words{"in.txt", "sub.txt", "page.html", "--csv", "t.csv", "7"},
        Words{"in.txt", "sub.txt", "page.html", "7", "--csv", "t.csv"}}) {
    ExplainArguments parsed;
    ASSERT_TRUE(parseExplainArguments(words, parsed)) << words[0] << words[1];
    EXPECT_EQ("t.csv", parsed.csvPath);
    EXPECT_EQ("in.txt", parsed.evaluation.testCasePath);
    EXPECT_EQ("sub.txt", parsed.evaluation.submissionPath);
    EXPECT_EQ("page.html", parsed.evaluation.reportPath);
    EXPECT_EQ(7, parsed.evaluation.nSimulacij);
  }
}

TEST(ExplainArguments, RunCountAndPathsAsEvalTakesThem) {
  ExplainArguments parsed;
  ASSERT_TRUE(parseExplainArguments({"a", "b", "c"}, parsed));
  EXPECT_EQ(3, parsed.evaluation.nSimulacij);
  EXPECT_EQ("", parsed.csvPath);
  ASSERT_TRUE(parseExplainArguments({"a", "b", "c", " 5x", "ignored"}, parsed));
  EXPECT_EQ(5, parsed.evaluation.nSimulacij);
}

TEST(ExplainArguments, WrongCommandLinesAreRefused) {
  for (const Words& words :
       {Words{"a", "b"}, Words{"a", "b", "c", "0"}, Words{"a", "b", "c", "-2"},
        Words{"a", "b", "c", "abc"}, Words{"a", "b", "c", "--csv"},
        Words{"a", "b", "--csv", "t.csv"},
        Words{"a", "b", "c", "--csv", "t.csv", "--csv", "u.csv"},
        Words{"a", "b", "c", "--csv", ""}}) {
    ExplainArguments parsed;
    EXPECT_FALSE(parseExplainArguments(words, parsed)) << words.size();
  }
}

TEST(ExplainMessages, RangeMessagesNameTheirScreening) {
  EXPECT_EQ(std::vector<int32_t>{0},
            screeningsNamedBy("Pri 1. predstavi je stevilka filma 10 (morala bi biti 0..9)."));
  EXPECT_EQ(std::vector<int32_t>{41},
            screeningsNamedBy("Pri 42. predstavi je konec filma ze v naslednjem letu (za 1 min)."));
}

TEST(ExplainMessages, OverlapMessagesNameBothScreenings) {
  EXPECT_EQ((std::vector<int32_t>{1, 0}),
            screeningsNamedBy("2. predstava pokriva obdobje 650..739, 1. predstava pa "
                              "obdobje 600..699, torej se prekrivata [casi so v minutah "
                              "od zacetka leta]."));
  EXPECT_EQ((std::vector<int32_t>{526999, 12}),
            screeningsNamedBy("527000. predstava pokriva obdobje 5..9, 13. predstava pa "
                              "obdobje 1..7, torej se prekrivata"));
}

TEST(ExplainMessages, OtherTextsNameNoScreening) {
  EXPECT_TRUE(screeningsNamedBy("Vhodna datoteka je testni primer 3, izhodna pa primer 5.").empty());
  EXPECT_TRUE(screeningsNamedBy("").empty());
  EXPECT_TRUE(screeningsNamedBy("Pri x. predstavi").empty());
  EXPECT_TRUE(screeningsNamedBy("0. predstava pokriva").empty());
  EXPECT_TRUE(screeningsNamedBy("99999999999. predstava pokriva").empty());
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
