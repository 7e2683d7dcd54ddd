// The results file read back: every status and every field survives the
// round trip through the writer and the reader, and the reader refuses
// whatever the writer cannot have written.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/json.h"
#include "batch/results_format.h"

namespace {

// A case of each status, with every field the writer knows filled in some
// of them, and names no file system would make easy.
std::vector<CaseResult> everyKindOfCase() {
  std::vector<CaseResult> results;
  const std::vector<std::string> names = {
      "0001", "a b\"c\\d", "line\nbreak\x01", "\xC4\x8D\xC5\xA1\xC5\xBE", "\xFF\xFE" "bytes",
      "\xE2\x80\xAE" "rtl", "$(touch x)`y`"};
  for (size_t i = 0; i < caseStatuses().size(); ++i) {
    CaseResult result;
    result.name = names[i % names.size()];
    result.status = caseStatuses()[i].status;
    if (result.status == CaseStatus::Ok) result.runs = {2109, 2112, 0};
    result.features = {15, 150, static_cast<int32_t>(i), i % 2 == 0 ? -1 : 1026};
    if (i % 2 == 0) result.reportPath = "reports/" + result.name + ".txt";
    if (i % 3 == 0) result.pagePath = "pages/" + result.name + ".html";
    if (!result.scored()) result.message = "Napaka [x.cpp:12]: " + result.name;
    results.push_back(result);
  }
  // Against a best and an earlier run, scored before or not.
  results[0].hasBest = true;
  results[0].best = 1407;
  results[0].relative = results[0].score() / results[0].best;
  results[0].earlier = {true, CaseStatus::Ok, {2000, 2001}};
  results[1].hasBest = true;
  results[1].earlier = {true, CaseStatus::Ok, {7}};
  results[2].earlier = {true, CaseStatus::NoReport, {}};
  // Solvers that exited, crashed and ran too long.
  results[5].solver = {true, true, 3, 0.25, "line 1\nline 2\n\x80"};
  results[6].solver = {true, false, 9, 10.5, ""};
  results[0].solver = {true, true, 0, 1.0 / 3, "ok"};
  return results;
}

TEST(ResultsFormat, EveryStatusAndFieldSurvivesTheRoundTrip) {
  const std::vector<CaseResult> written = everyKindOfCase();
  const std::string text = resultsText(written, totalsOf(written));
  ResultsFile read;
  std::string error;
  ASSERT_TRUE(parseResultsText(text, read, error)) << error << "\n" << text;
  ASSERT_EQ(written.size(), read.cases.size());
  ASSERT_TRUE(read.hasSummary);
  // Written again from what was read, the file is the same to the byte.
  EXPECT_EQ(text, resultsText(read.cases, read.summary));
  EXPECT_EQ(text, resultsText(read.cases, totalsOf(read.cases)));
  for (size_t i = 0; i < written.size(); ++i) {
    const CaseResult &before = written[i], &after = read.cases[i];
    EXPECT_EQ(before.name, after.name);
    EXPECT_EQ(before.status, after.status);
    EXPECT_EQ(before.runs, after.runs);
    EXPECT_EQ(before.message, after.message);
    EXPECT_EQ(before.reportPath, after.reportPath);
    EXPECT_EQ(before.pagePath, after.pagePath);
    EXPECT_EQ(before.features.nScreenings, after.features.nScreenings);
    EXPECT_EQ(before.relative, after.relative);
    EXPECT_EQ(before.earlier.runs, after.earlier.runs);
    EXPECT_EQ(before.solver.stderrTail, after.solver.stderrTail);
    EXPECT_EQ(before.solver.exited, after.solver.exited);
  }
  // The totals: a failed case counts 0 in the mean, and every status is
  // counted apart.
  const BatchTotals totals = totalsOf(read.cases);
  EXPECT_EQ(written[0].score() / 7, totals.scoreMean.value());
  EXPECT_EQ(1u, totals.count(CaseStatus::TimeLimit));
  EXPECT_EQ(1u, totals.newlyFailing);
  // Over the two runs both have: 2110.5 against 2000.5.
  EXPECT_EQ(1u, totals.better);
  EXPECT_EQ(2u, totals.solverFailures);
  EXPECT_TRUE(totals.failsBatch());
}

bool refused(const std::string& line) {
  ResultsFile results;
  std::string error;
  const bool read = parseResultsText(line + "\n", results, error);
  EXPECT_TRUE(read || error.rfind("vrstica 1: ", 0) == 0) << error;
  return !read;
}

TEST(ResultsFormat, TheReaderRefusesWhatTheWriterCannotHaveWritten) {
  CaseResult result;
  result.name = "0001";
  result.status = CaseStatus::Ok;
  result.runs = {10, 11};
  const std::string line = caseLine(result);
  ASSERT_FALSE(refused(line)) << line;
  auto replaced = [&line](const std::string& from, const std::string& to) {
    std::string changed = line;
    changed.replace(changed.find(from), from.size(), to);
    return changed;
  };
  const std::vector<std::string> wrong = {
      line + "garbage",
      line + "{}",
      line.substr(0, line.size() - 1),
      replaced("\"score\":10.5", "\"score\":10.25"),
      replaced("\"score\":10.5", "\"score\":1e999"),
      replaced("\"score\":10.5", "\"score\":inf"),
      replaced("\"score\":10.5", "\"score\":NaN"),
      replaced("[10,11]", "[10,2147483648]"),
      replaced("[10,11]", "[10,-1]"),
      replaced("[10,11]", "[10,11.0]"),
      replaced("[10,11]", "[]"),
      replaced("\"ok\"", "\"okay\""),
      replaced("\"ok\"", "\"invalid\""),
      replaced("\"name\":\"0001\"", "\"name\":\"0001\",\"name\":\"0002\""),
      replaced("\"name\":\"0001\"", "\"name\":\"0001\",\"extra\":1"),
      replaced("\"films\":", "\"films\":-1,\"x\":"),
      replaced("\"score\":10.5", "\"score\":10.5,\"best\":0,\"relative\":1"),
      replaced("\"score\":10.5", "\"score\":10.5,\"best\":1e-320,\"relative\":0"),
  };
  for (const std::string& text : wrong) EXPECT_TRUE(refused(text)) << text;
  // A summary that is not last, or twice.
  const std::string summary = summaryLine(totalsOf({result}));
  ResultsFile results;
  std::string error;
  EXPECT_FALSE(parseResultsText(summary + "\n" + line + "\n", results, error));
  EXPECT_EQ("vrstica 2: stoji za povzetkom", error);
  EXPECT_FALSE(parseResultsText(line + "\n" + line + "\n", results, error));
}

TEST(Json, KeepsValidUtf8AndEscapesEveryOtherByte) {
  EXPECT_EQ("\"a\\\"b\\\\c\\u000a\\u007f\"", jsonString("a\"b\\c\n\x7F"));
  // Two-, three- and four-byte sequences stay as they are.
  EXPECT_EQ("\"\xC4\x8D\xE6\x96\x87\xF0\x9F\x8E\xAC\"",
            jsonString("\xC4\x8D\xE6\x96\x87\xF0\x9F\x8E\xAC"));
  // A lone continuation byte, an overlong form, a surrogate, a code point
  // beyond U+10FFFF and a cut sequence are escaped byte by byte.
  EXPECT_EQ("\"\\u0080\\u00c0\\u00af\\u00ed\\u00a0\\u0080\\u00f4\\u0090\\u0080\\u0080"
            "x\\u00e6\\u0096\"",
            jsonString("\x80\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80x\xE6\x96"));
}

}  // namespace
