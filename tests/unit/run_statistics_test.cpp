#include "driver/run_statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "base/output_file.h"
#include "base/platform.h"
#include "driver/report.h"
#include "temp_file.h"

namespace {

RunStatistics statisticsOf(const std::vector<int32_t>& counts) {
  RunStatistics statistics;
  for (int32_t count : counts) statistics.add(count);
  return statistics;
}

// The bytes of the success report for `counts`, read back from the file.
std::string successReport(const std::vector<int32_t>& counts,
                          int64_t elapsedTicks) {
  TempFile file("");
  OutputFile report;
  EXPECT_TRUE(report.open(file.path()));
  writeSuccessReport(report, static_cast<int32_t>(counts.size()), elapsedTicks,
                     statisticsOf(counts));
  EXPECT_TRUE(report.close());
  return file.contents();
}

// `text` with each LF replaced by the platform's line end.
std::string withPlatformLineEnds(const std::string& text) {
  std::string result;
  for (char c : text) {
    if (c == '\n')
      result += platform::lineEnd();
    else
      result += c;
  }
  return result;
}

TEST(RunStatisticsAccumulation, KeepsRunOrderAndTheExtremes) {
  RunStatistics statistics = statisticsOf({30, 10, 20});
  EXPECT_EQ((std::vector<int32_t>{30, 10, 20}), statistics.ticketsPerRun());
  EXPECT_EQ(10, statistics.worst());
  EXPECT_EQ(30, statistics.best());
  EXPECT_EQ(20, statistics.median());

  RunStatistics rising = statisticsOf({10, 20, 30});
  EXPECT_EQ(10, rising.worst());
  EXPECT_EQ(30, rising.best());
}

TEST(RunStatisticsAccumulation, TakesTheFirstRunAsBothExtremes) {
  RunStatistics statistics = statisticsOf({7});
  EXPECT_EQ(7, statistics.worst());
  EXPECT_EQ(7, statistics.best());
  EXPECT_EQ(7, statistics.mean());
  EXPECT_EQ(0, statistics.deviation());
  EXPECT_EQ(7, statistics.median());

  RunStatistics noTickets = statisticsOf({0, 0});
  EXPECT_EQ(0, noTickets.worst());
  EXPECT_EQ(0, noTickets.best());
}

TEST(RunStatisticsSummary, ComputesPopulationMeanAndDeviation) {
  RunStatistics two = statisticsOf({2, 3});
  EXPECT_EQ(2.5, two.mean());
  EXPECT_EQ(0.5, two.deviation());

  RunStatistics three = statisticsOf({10, 20, 30});
  EXPECT_EQ(20, three.mean());
  EXPECT_DOUBLE_EQ(std::sqrt(200.0 / 3), three.deviation());
}

TEST(RunStatisticsSummary, TakesTinyVariancesAsZero) {
  EXPECT_EQ(0, statisticsOf({123457, 123457, 123457}).deviation());

  // One run differing by one among n gives the variance (n - 1) / n^2,
  // about 1/n: below the threshold for two million runs, above it for half a
  // million.
  std::vector<int32_t> counts(2000000, 5);
  counts[17] = 6;
  EXPECT_EQ(0, statisticsOf(counts).deviation());
  counts.resize(500000);
  EXPECT_NEAR(std::sqrt(499999.0) / 500000, statisticsOf(counts).deviation(),
              1e-10);
}

TEST(RunStatisticsSummary, TakesTheMiddleOfTheSortedCounts) {
  EXPECT_EQ(3, statisticsOf({5, 1, 3}).median());
  EXPECT_EQ(2.5, statisticsOf({4, 1, 3, 2}).median());
  EXPECT_EQ(2.5, statisticsOf({3, 2}).median());
  // The two middle counts are added as doubles, so no integer overflows.
  const int32_t most = std::numeric_limits<int32_t>::max();
  EXPECT_EQ(most, statisticsOf({most, most}).median());
}

TEST(SuccessReport, WritesAllLinesInWindows1250) {
  EXPECT_EQ(withPlatformLineEnds(
                "OK\n"
                "\x8A" "tevilo simulacij: 3\n"
                "\xC8" "as izvajanja: 1.235 s (0.412 s na simulacijo)\n"
                "\x8A" "tevilo prodanih kart v posameznih simulacijah: "
                "10 20 30\n"
                "Najslab\x9A" "i rezultat: 10\n"
                "Najbolj\x9A" "i rezultat: 30\n"
                "Povpre\xE8" "je in standardna deviacija: 20.00 +/- 8.16\n"
                "Mediana: 20\n"
                "20\n"),
            successReport({10, 20, 30}, 12345678));
}

TEST(SuccessReport, ListsCountsInRunOrder) {
  std::string report = successReport({30, 10, 20}, 0);
  EXPECT_NE(std::string::npos,
            report.find("simulacijah: 30 10 20" +
                        withPlatformLineEnds("\nNajslab")));
  EXPECT_NE(std::string::npos,
            report.find(withPlatformLineEnds("\nMediana: 20\n20\n")));
  EXPECT_NE(std::string::npos,
            report.find(" 0.000 s (0.000 s na simulacijo)"));
}

TEST(SuccessReport, RoundsHalvesAwayFromZero) {
  std::string report = successReport({2, 3}, 0);
  EXPECT_NE(std::string::npos,
            report.find(withPlatformLineEnds(": 2.50 +/- 0.50\n"
                                             "Mediana: 3\n"
                                             "2.5\n")));
}

TEST(SuccessReport, PrintsOneRunAndMillionsOfTickets) {
  std::string report = successReport({1234567}, 30000000);
  EXPECT_NE(std::string::npos,
            report.find(withPlatformLineEnds(
                "3.000 s (3.000 s na simulacijo)\n"
                "\x8A" "tevilo prodanih kart v posameznih simulacijah: "
                "1234567\n"
                "Najslab\x9A" "i rezultat: 1234567\n"
                "Najbolj\x9A" "i rezultat: 1234567\n"
                "Povpre\xE8" "je in standardna deviacija: 1234567.00 +/- "
                "0.00\n"
                "Mediana: 1234567\n"
                "1.23457e+006\n")));
}

}  // namespace
