// Every form the report's writer writes, read back by the report's reader:
// the evaluation writes each report here exactly as `eval` does.

#include <gtest/gtest.h>

#include <string>

#include "base/output_file.h"
#include "driver/evaluation.h"
#include "driver/report_reader.h"
#include "driver/text_report.h"
#include "temp_file.h"

namespace {

// One film, two viewers who like it, one seat.
const char SmallCase[] =
    "Tavo\n1\n1\n0\ntt1\nFilm\n100\n5.0\n1\n0\nDrama\n2 1\n"
    "20:00\n1\n0\nDrama\n20:00\n1\n0\nDrama\n";

// `text` with LF line ends, whatever the platform wrote.
std::string withLf(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
  return out;
}

// The report `eval` writes for the small case and `submission`, with LF
// line ends.
std::string reportText(const std::string& submission, int32_t runs) {
  TempFile input(SmallCase), schedule(submission), report("");
  OutputFile file;
  EXPECT_TRUE(file.open(report.path()));
  TextReport output(file);
  EvaluationArguments arguments;
  arguments.testCasePath = input.path();
  arguments.submissionPath = schedule.path();
  arguments.reportPath = report.path();
  arguments.nSimulacij = runs;
  evaluate(arguments, output);
  EXPECT_TRUE(file.close());
  return withLf(report.contents());
}

ReportReading readText(const std::string& text, int32_t runs) {
  TempFile report(text);
  return readReport(report.path(), runs);
}

std::string withCrLf(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return out;
}

std::string withoutLastLine(const std::string& text) {
  const size_t end = text.find_last_of('\n', text.size() - 2);
  return text.substr(0, end + 1);
}

TEST(ReportReader, ReadsBackEveryFormTheWriterWrites) {
  const std::string success = reportText("000001\nTavo\n1\n2\n0 10 1200\n0 11 1200\n", 3);
  ReportReading reading = readText(success, 3);
  ASSERT_EQ(ReportForm::Success, reading.form) << success;
  // Two screenings of one seat each: at most 2 a run. Run i is seeded with
  // i + 123 whatever the count, so one run gives the first of three.
  ASSERT_EQ(3u, reading.runs.size());
  for (int64_t count : reading.runs) EXPECT_TRUE(count >= 0 && count <= 2) << count;
  EXPECT_EQ(std::vector<int64_t>{reading.runs[0]},
            readText(reportText("000001\nTavo\n1\n2\n0 10 1200\n0 11 1200\n", 1), 1).runs);

  const std::string invalid = reportText("000001\nTavo\n1\n1\n5 10 1200\n", 3);
  reading = readText(invalid, 3);
  EXPECT_EQ(ReportForm::InvalidSubmission, reading.form) << invalid;
  EXPECT_TRUE(reading.runs.empty());
  // The first problem, the line under the heading.
  EXPECT_EQ(invalid.substr(invalid.find('\n') + 1, reading.message.size() + 1),
            reading.message + "\n");

  const std::string faulty = reportText("12345\n", 3);
  reading = readText(faulty, 3);
  EXPECT_EQ(ReportForm::CheckFailure, reading.form) << faulty;
  EXPECT_EQ(faulty.substr(0, faulty.find('\n')), reading.message);

  TempFile unexpected("");
  {
    OutputFile file;
    ASSERT_TRUE(file.open(unexpected.path()));
    TextReport(file).writeUnexpectedError(EvaluationStage::Running);
    ASSERT_TRUE(file.close());
  }
  const std::string unexpectedText = withLf(unexpected.contents());
  reading = readText(unexpectedText, 3);
  EXPECT_EQ(ReportForm::UnexpectedError, reading.form) << unexpectedText;

  // Either line end, the same reading.
  for (const std::string& text : {success, invalid, faulty, unexpectedText}) {
    const ReportReading lf = readText(text, 3), crlf = readText(withCrLf(text), 3);
    EXPECT_EQ(lf.form, crlf.form);
    EXPECT_EQ(lf.runs, crlf.runs);
    EXPECT_EQ(lf.message, crlf.message);
  }
}

TEST(ReportReader, AReportCutShortOrWithOtherRunsIsGarbled) {
  const std::string success = reportText("000001\nTavo\n1\n1\n0 10 1200\n", 3);
  const std::string faulty = reportText("12345\n", 3);
  for (const std::string& text :
       {withoutLastLine(success), withoutLastLine(faulty), success.substr(0, 2), std::string()})
    EXPECT_EQ(ReportForm::Garbled, readText(text, 3).form) << text;
  EXPECT_EQ(ReportForm::Garbled, readText(success, 4).form);
  EXPECT_FALSE(readText(success, 4).message.empty());
}

}  // namespace
