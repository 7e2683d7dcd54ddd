#include "base/output_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/output_set.h"
#include "base/platform.h"
#include "temp_file.h"

namespace {

namespace fs = std::filesystem;

// How many files beside `path` are named as its temporary files are.
int temporariesOf(const std::string& path) {
  const std::string prefix = "." + fs::path(path).filename().string() + ".";
  int count = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(path).parent_path()))
    if (entry.path().filename().string().rfind(prefix, 0) == 0) ++count;
  return count;
}

TEST(OutputFile, ReplacesTheTargetWithEveryByteAndThePlatformLineEnds) {
  TempFile file("old contents that must go");
  OutputFile report;
  ASSERT_TRUE(report.open(file.path()));
  report.write(std::string("a\0b\nc", 5));
  report.write("\n\n");
  ASSERT_TRUE(report.close());
  std::string lineEnd = platform::lineEnd();
  EXPECT_EQ(std::string("a\0b", 3) + lineEnd + "c" + lineEnd + lineEnd,
            file.contents());
}

TEST(OutputFile, TheTargetKeepsItsContentsUntilTheCommitAndAfterAnAbandonedWrite) {
  TempFile file("previous report");
  {
    OutputFile report;
    ASSERT_TRUE(report.open(file.path()));
    report.write("a report never committed\n");
    EXPECT_EQ(1, temporariesOf(file.path()));
    ASSERT_TRUE(report.finish());
    EXPECT_EQ("previous report", file.contents());
  }
  EXPECT_EQ("previous report", file.contents());
  EXPECT_EQ(0, temporariesOf(file.path())) << "the temporary file was left";

  OutputFile report;
  ASSERT_TRUE(report.open(file.path()));
  report.write("the first form, given up\n");
  report.discard();
  report.write("-1\n");
  ASSERT_TRUE(report.finish());
  EXPECT_EQ("previous report", file.contents());
  ASSERT_TRUE(report.commit());
  EXPECT_EQ("-1" + std::string(platform::lineEnd()), file.contents());
  EXPECT_EQ(0, temporariesOf(file.path()));
}

TEST(OutputFile, FailsToOpenInAMissingFolder) {
  OutputFile report;
  EXPECT_FALSE(report.open("no-such-folder-for-reports/report.txt"));
  EXPECT_FALSE(report.errorText().empty());
  report.write("x");
  EXPECT_FALSE(report.close());
}

// A set replaces every target or none: a refused output leaves the targets
// of the others as they were, and the outputs after it unopened.
TEST(OutputSet, ReplacesEveryTargetOnlyWhenEveryOutputIsWhole) {
  const OutputFile::LineEnds lf = OutputFile::LineEnds::Lf;
  TempFile input("input"), first("old first"), second("old second");
  {
    OutputSet outputs;
    outputs.add(first.path(), "prvo", {input.path()}, lf).write("new first\n");
    outputs.add(input.path(), "vhod", {input.path()}, lf).write("over the input\n");
    outputs.add(second.path(), "drugo", {input.path()}, lf).write("new second\n");
    EXPECT_EQ(ExitNoReport, outputs.status());
    EXPECT_EQ(0, temporariesOf(second.path())) << "an output after the refusal was opened";
    EXPECT_EQ(ExitNoReport, outputs.deliver());
  }
  EXPECT_EQ("input", input.contents());
  EXPECT_EQ("old first", first.contents());
  EXPECT_EQ("old second", second.contents());
  EXPECT_EQ(0, temporariesOf(first.path())) << "the temporary file was left";

  OutputSet outputs;
  outputs.add(first.path(), "prvo", {input.path()}, lf).write("new first\n");
  outputs.add(second.path(), "drugo", {input.path()}, lf).write("new second\n");
  EXPECT_EQ(ExitReportWritten, outputs.status());
  EXPECT_EQ("old first", first.contents());
  EXPECT_EQ(ExitReportWritten, outputs.deliver());
  EXPECT_EQ("new first\n", first.contents());
  EXPECT_EQ("new second\n", second.contents());
}

}  // namespace
