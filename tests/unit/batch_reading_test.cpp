#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch/json_writer.h"
#include "batch/report_reading.h"
#include "temp_file.h"

namespace {

TEST(JsonString, KeepsValidUtf8AndEscapesEveryOtherByte) {
  EXPECT_EQ("\"a\\\"b\\\\c\\u000a\\u007f\"", jsonString("a\"b\\c\n\x7F"));
  // Two-, three- and four-byte characters stay as they are.
  EXPECT_EQ("\"\xC4\x8D\xE6\x96\x87\xF0\x9F\x8E\xAC\"",
            jsonString("\xC4\x8D\xE6\x96\x87\xF0\x9F\x8E\xAC"));
  // A stray continuation byte, an overlong form, a surrogate, a code point
  // beyond U+10FFFF and a sequence cut by the end: each byte on its own.
  EXPECT_EQ("\"\\u0080\\u00c0\\u00af\\u00ed\\u00a0\\u0080\\u00f4\\u0090\\u0080\\u0080"
            "x\\u00e6\\u0096\"",
            jsonString("\x80\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80x\xE6\x96"));
}

const char Counts[] = "\x8Atevilo prodanih kart v posameznih simulacijah: 7 0 12\n";

CaseStatus statusOf(const std::string& report, std::vector<int64_t>& runs) {
  TempFile file(report);
  std::string message;
  return readReport(file.path(), 3, runs, message);
}

TEST(ReadReport, TakesTheCountsOnlyFromAWholeReport) {
  std::vector<int64_t> runs;
  EXPECT_EQ(CaseStatus::Ok, statusOf(std::string("OK\r\nx\r\n") + Counts + "6.33333\r\n", runs));
  EXPECT_EQ((std::vector<int64_t>{7, 0, 12}), runs);
  // Cut before its last line, with other counts than asked for, or without
  // them, a success is garbled.
  EXPECT_EQ(CaseStatus::NoReport, statusOf(std::string("OK\n") + Counts, runs));
  EXPECT_TRUE(runs.empty());
  EXPECT_EQ(CaseStatus::NoReport, statusOf("OK\n\x8Atevilo prodanih kart v posameznih "
                                           "simulacijah: 7 0\n3.5\n", runs));
  EXPECT_EQ(CaseStatus::NoReport, statusOf("OK\n3.5\n", runs));
  EXPECT_EQ(CaseStatus::Invalid, statusOf("V oddani datoteki so napake.\nx\n-1\n", runs));
  EXPECT_EQ(CaseStatus::CheckFailure, statusOf("Napaka [a:1]: b\n-1\n", runs));
  EXPECT_EQ(CaseStatus::UnexpectedError, statusOf("Nepricakovana napaka.\n-1", runs));
  EXPECT_EQ(CaseStatus::NoReport, statusOf("Napaka [a:1]: b\n", runs));
  EXPECT_EQ(CaseStatus::NoReport, statusOf("", runs));
}

}  // namespace
