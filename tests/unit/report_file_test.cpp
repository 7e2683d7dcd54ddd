#include "driver/report_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "driver/platform.h"
#include "temp_file.h"

namespace {

TEST(ReportFile, WritesEveryByteAndThePlatformLineEnds) {
  TempFile file("old contents that must go");
  ReportFile report;
  ASSERT_TRUE(report.open(file.path()));
  report.write(std::string("a\0b\nc", 5));
  report.write("\n\n");
  ASSERT_TRUE(report.close());
  std::string lineEnd = platform::lineEnd();
  EXPECT_EQ(std::string("a\0b", 3) + lineEnd + "c" + lineEnd + lineEnd,
            file.contents());
}

TEST(ReportFile, FailsToOpenInAMissingFolder) {
  ReportFile report;
  EXPECT_FALSE(report.open("no-such-folder-for-reports/report.txt"));
  report.write("x");
  EXPECT_FALSE(report.close());
}

TEST(ReportFile, ReportsAFullDiskAtTheLatestWhenClosing) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  ReportFile report;
  ASSERT_TRUE(report.open("/dev/full"));
  report.write("OK\n");
  EXPECT_FALSE(report.close());
}

}  // namespace
