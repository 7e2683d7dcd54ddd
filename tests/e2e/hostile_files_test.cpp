// Files written to hurt the evaluator: declared counts with nothing behind
// them, a line of 100 MiB, an endless line, a schedule of every minute of the
// year and one in which every screening overlaps every other. Each is
// generated here, run through the built evaluator, and must end in one of
// its report forms with peak memory in proportion to the file size and CPU
// time far below what a quadratic step would need.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "measured_run.h"
#include "robustness_environment.h"

namespace fs = std::filesystem;

namespace {

const int64_t MiB = int64_t(1) << 20;
const int64_t MinutesPerDay = 1440;
const int64_t MinutesPerYear = 366 * MinutesPerDay;

// Peak memory may exceed that of a run on a tiny file by this many bytes per
// byte read and per byte of report written (a report holds at most a few
// message lines per input line), plus `MemorySlack`. CPU time may not exceed
// `CpuSecondsLimit`: each case takes about a second at most, on a busy
// machine a few, while a step quadratic in the 100000 screenings, at 5e9
// pairs, would need about the limit or more. The sanitizers' shadow memory and quarantine of freed blocks, and
// their slower code, need larger bounds.
#ifdef SKEDOMAT_SANITIZED
const int64_t BytesPerInputByte = 6;
const int64_t BytesPerReportByte = 4;
const int64_t MemorySlack = 256 * MiB;
const double CpuSecondsLimit = 60;
#else
const int64_t BytesPerInputByte = 4;
const int64_t BytesPerReportByte = 4;
const int64_t MemorySlack = 16 * MiB;
const double CpuSecondsLimit = 20;
#endif

// Writes a file piece by piece, so that the test never holds a large file in
// memory (a forked child starts with the parent's resident memory).
class FileWriter {
 public:
  explicit FileWriter(const std::string& path) : out_(path, std::ios::binary) {}
  FileWriter& text(const std::string& text) {
    out_ << text;
    return *this;
  }
  FileWriter& repeat(char byte, int64_t count) {
    const std::string chunk(MiB, byte);
    for (; count >= MiB; count -= MiB) out_ << chunk;
    out_ << chunk.substr(0, static_cast<size_t>(count));
    return *this;
  }

 private:
  std::ofstream out_;
};

// One film of one genre.
std::string filmBlock(int32_t seqNo, int64_t runtime) {
  return std::to_string(seqNo) + "\ntt1\nFilm\n" + std::to_string(runtime) +
         "\n5.0\n1\n0\nDrama\n";
}

const char ViewerBlock[] = "18:00\n1\n0\nDrama\n";
const char TestCaseHead[] = "Tavo\n1\n";
const char SubmissionHead[] = "123456\nTavo\n1\n";

// A report read line by line; of each line only its length and its first and
// last bytes are kept.
struct ReportLines {
  struct Line {
    int64_t length = 0;
    std::string head;  // the first 200 bytes
    std::string tail;  // the last 80 bytes
  };
  std::vector<Line> lines;
  bool endsWithLineFeed = false;
  int64_t bytes = 0;

  int64_t countEndingWith(const std::string& suffix) const {
    return std::count_if(lines.begin(), lines.end(), [&suffix](const Line& line) {
      return line.tail.size() >= suffix.size() &&
             line.tail.compare(line.tail.size() - suffix.size(), suffix.size(),
                               suffix) == 0;
    });
  }
};

ReportLines readReportLines(const std::string& path) {
  const size_t HeadSize = 200;
  const size_t TailSize = 80;
  ReportLines report;
  std::ifstream in(path, std::ios::binary);
  ReportLines::Line line;
  bool lineOpen = false;
  char byte = 0;
  while (in.get(byte)) {
    report.bytes++;
    if (byte == '\n') {
      report.lines.push_back(line);
      line = ReportLines::Line();
      lineOpen = false;
      continue;
    }
    lineOpen = true;
    line.length++;
    if (line.head.size() < HeadSize) line.head += byte;
    line.tail += byte;
    if (line.tail.size() > 2 * TailSize) line.tail.erase(0, TailSize);
  }
  if (lineOpen) report.lines.push_back(line);
  for (ReportLines::Line& kept : report.lines)
    if (kept.tail.size() > TailSize) kept.tail.erase(0, kept.tail.size() - TailSize);
  report.endsWithLineFeed = !lineOpen && !report.lines.empty();
  return report;
}

struct Outcome {
  MeasuredRun run;
  int64_t inputBytes = 0;
  ReportLines report;
};

// Evaluates the input.txt and submission.txt in `folder`, then removes the
// files, which may be large.
Outcome evaluateFolder(const std::string& folder) {
  const RobustnessEnvironment& environment = robustnessEnvironment();
  Outcome outcome;
  fs::path work(folder);
  outcome.inputBytes = static_cast<int64_t>(fs::file_size(work / "input.txt") +
                                            fs::file_size(work / "submission.txt"));
  outcome.run = runMeasured(environment.skedomat,
                            {"eval", "input.txt", "submission.txt", "report.txt"},
                            folder, (work / ".stdout").string(),
                            (work / ".stderr").string());
  outcome.report = readReportLines((work / "report.txt").string());
  fs::remove_all(work);
  return outcome;
}

// The peak memory of an evaluation of a tiny, valid case.
int64_t baselinePeakBytes() {
  static int64_t peak = -1;
  if (peak < 0) {
    std::string folder = freshScratchFolder("hostile/baseline");
    FileWriter(folder + "/input.txt")
        .text(TestCaseHead).text("1\n").text(filmBlock(0, 90))
        .text("1 1\n").text(ViewerBlock);
    FileWriter(folder + "/submission.txt").text(SubmissionHead).text("1\n0 0 0\n");
    peak = evaluateFolder(folder).run.peakBytes;
  }
  return peak;
}

// Exit status 0, memory in proportion to the files and bounded CPU time.
void expectBoundedRun(const Outcome& outcome) {
  EXPECT_EQ(0, outcome.run.status);
  const int64_t limit = baselinePeakBytes() +
                        BytesPerInputByte * outcome.inputBytes +
                        BytesPerReportByte * outcome.report.bytes + MemorySlack;
  std::printf("  peak %.1f MiB (limit %.1f) for %.1f MiB read and %.1f MiB "
              "written, %.2f s CPU\n",
              double(outcome.run.peakBytes) / MiB, double(limit) / MiB,
              double(outcome.inputBytes) / MiB,
              double(outcome.report.bytes) / MiB, outcome.run.cpuSeconds);
  EXPECT_LE(outcome.run.peakBytes, limit);
  EXPECT_LE(outcome.run.cpuSeconds, CpuSecondsLimit);
}

// An error form: its first line begins with `firstLine` and the last is "-1".
void expectErrorForm(const ReportLines& report, const std::string& firstLine) {
  ASSERT_GE(report.lines.size(), 2u);
  EXPECT_TRUE(report.endsWithLineFeed);
  EXPECT_EQ(firstLine, report.lines.front().head.substr(0, firstLine.size()));
  EXPECT_EQ("-1", report.lines.back().head);
}

// The check-failure form, its message ending in `message`.
void expectCheckFailure(const ReportLines& report, const std::string& message) {
  expectErrorForm(report, "Napaka [");
  ASSERT_FALSE(report.lines.empty());
  const std::string& tail = report.lines.front().tail;
  EXPECT_EQ(message,
            tail.substr(tail.size() - std::min(tail.size(), message.size())));
}

// The success report of three runs: nine lines, the second naming the runs.
void expectSuccessForm(const ReportLines& report) {
  ASSERT_EQ(9u, report.lines.size());
  EXPECT_TRUE(report.endsWithLineFeed);
  EXPECT_EQ("OK", report.lines.front().head);
  EXPECT_EQ("\x8A" "tevilo simulacij: 3", report.lines[1].head);
  EXPECT_NE("-1", report.lines.back().head);
}

// A small hostile case and the message that its check failure must end in.
struct HostileCase {
  std::string name;
  std::string testCase;
  std::string submission;
  std::string message;
};

// Writes the two files of `hostile` into a fresh folder and evaluates them.
Outcome evaluateTexts(const HostileCase& hostile) {
  std::string folder = freshScratchFolder("hostile/" + hostile.name);
  FileWriter(folder + "/input.txt").text(hostile.testCase);
  FileWriter(folder + "/submission.txt").text(hostile.submission);
  return evaluateFolder(folder);
}

TEST(HostileCounts, ADeclaredCountWithNothingBehindItFailsAtOnce) {
  const std::string huge = "2000000000";
  const std::string oneFilm = std::string("1\n") + filmBlock(0, 90);
  const std::string validSubmission = std::string(SubmissionHead) + "1\n0 0 0\n";
  const std::string missingLine = "Assertion failure (! is.fail())";
  const std::vector<HostileCase> cases = {
      {"films", TestCaseHead + huge + "\n", validSubmission, missingLine},
      {"viewers", TestCaseHead + oneFilm + huge + " 10\n", validSubmission,
       missingLine},
      {"film_genres",
       std::string(TestCaseHead) + "1\n0\ntt1\nFilm\n90\n5.0\n" + huge + "\n",
       validSubmission, missingLine},
      {"viewer_genres", TestCaseHead + oneFilm + "1 1\n18:00\n" + huge + "\n",
       validSubmission, missingLine},
      {"screenings", TestCaseHead + oneFilm + "1 1\n" + ViewerBlock,
       SubmissionHead + huge + "\n", "manjka podatek o 1. predstavi"},
  };
  for (const HostileCase& hostile : cases) {
    SCOPED_TRACE(hostile.name);
    Outcome outcome = evaluateTexts(hostile);
    expectBoundedRun(outcome);
    expectCheckFailure(outcome.report, hostile.message);
  }
}

// The length at which the evaluator cuts a line.
const int64_t MaxLineLength = MiB;
const std::string CutMarker =
    " (vrstica je daljsa od 1048576 bajtov in je odrezana)";

TEST(HostileLines, ALineOf100MiBIsCutAtTheLimit) {
  const int64_t Length = 100 * MiB;
  {
    SCOPED_TRACE("first line of the test case");
    std::string folder = freshScratchFolder("hostile/long_first_line");
    FileWriter(folder + "/input.txt").repeat('T', Length).text("\n");
    FileWriter(folder + "/submission.txt").text(SubmissionHead).text("0\n");
    Outcome outcome = evaluateFolder(folder);
    expectBoundedRun(outcome);
    expectCheckFailure(outcome.report, "Assertion failure (s == \"Tavo\")");
    EXPECT_EQ(2u, outcome.report.lines.size());
  }
  {
    // Nothing after the cut is read, so the next line is missing.
    SCOPED_TRACE("a film title, in an otherwise valid case");
    std::string folder = freshScratchFolder("hostile/long_title");
    FileWriter(folder + "/input.txt")
        .text(TestCaseHead).text("1\n0\ntt1\n").repeat('\xE8', Length)
        .text("\n90\n5.0\n1\n0\nDrama\n1 1\n").text(ViewerBlock);
    FileWriter(folder + "/submission.txt").text(SubmissionHead).text("1\n0 0 0\n");
    Outcome outcome = evaluateFolder(folder);
    expectBoundedRun(outcome);
    expectCheckFailure(outcome.report, "Assertion failure (! is.fail())");
  }
  {
    // The form error quotes the line as far as it was read, and marks it.
    SCOPED_TRACE("a screening line, quoted in the report");
    std::string folder = freshScratchFolder("hostile/long_screening_line");
    FileWriter(folder + "/input.txt")
        .text(TestCaseHead).text("1\n").text(filmBlock(0, 90)).text("1 1\n")
        .text(ViewerBlock);
    FileWriter(folder + "/submission.txt")
        .text(SubmissionHead).text("1\n0 0").repeat(' ', Length).text("x\n");
    Outcome outcome = evaluateFolder(folder);
    expectBoundedRun(outcome);
    expectCheckFailure(outcome.report, "    \"" + CutMarker + ")");
    ASSERT_FALSE(outcome.report.lines.empty());
    EXPECT_GT(outcome.report.lines.front().length, MaxLineLength);
    EXPECT_LT(outcome.report.lines.front().length, MaxLineLength + 1000);
  }
}

// A file without line breaks is read only to the limit of a line, so peak
// memory stays near that of a tiny case (the sanitizers' shadow memory
// raises both). Read whole, /dev/zero would fill the memory within seconds.
#ifdef SKEDOMAT_SANITIZED
const int64_t EndlessFilePeakLimit = 128 * MiB;
#else
const int64_t EndlessFilePeakLimit = 64 * MiB;
#endif

TEST(HostileLines, AnEndlessFileStopsAtTheLimitOfALine) {
  const RobustnessEnvironment& environment = robustnessEnvironment();
  const std::string testCase = environment.examples + "/input.txt";
  const std::string submission = environment.examples + "/submission.txt";
  struct EndlessCase {
    std::string name;
    std::string testCase;
    std::string submission;
    std::string message;
  };
  const std::vector<EndlessCase> cases = {
      {"test_case", "/dev/zero", submission,
       "Assertion failure (s == \"Tavo\")"},
      {"submission", testCase, "/dev/zero",
       "stevilka tekmovalca bi morala imeti 6 stevk"},
  };
  for (const EndlessCase& endless : cases) {
    SCOPED_TRACE(endless.name);
    fs::path work = freshScratchFolder("hostile/endless_" + endless.name);
    MeasuredRun run = runMeasured(
        environment.skedomat,
        {"eval", endless.testCase, endless.submission, "report.txt"},
        work.string(), (work / ".stdout").string(),
        (work / ".stderr").string());
    std::printf("  peak %.1f MiB, %.2f s CPU\n", double(run.peakBytes) / MiB,
                run.cpuSeconds);
    EXPECT_EQ(0, run.status);
    EXPECT_LT(run.peakBytes, EndlessFilePeakLimit);
    expectCheckFailure(readReportLines((work / "report.txt").string()),
                       endless.message);
  }
}

TEST(HostileSchedules, EveryScreeningOverlappingEveryOtherIsReportedOnce) {
  // 100000 screenings of a film of 200000 minutes, starting at the minutes
  // 0..99999 in a scrambled file order: every pair overlaps. Each screening
  // but the first to start is reported once, against the earliest in the file.
  const int32_t Count = 100000;
  std::string folder = freshScratchFolder("hostile/all_overlapping");
  FileWriter(folder + "/input.txt")
      .text(TestCaseHead).text("1\n").text(filmBlock(0, 200000)).text("1 1\n")
      .text(ViewerBlock);
  {
    FileWriter submission(folder + "/submission.txt");
    submission.text(SubmissionHead).text(std::to_string(Count) + "\n");
    for (int64_t i = 0; i < Count; i++) {
      int64_t start = i * 7919 % Count;  // 7919 is prime to 100000
      submission.text("0 " + std::to_string(start / MinutesPerDay) + " " +
                      std::to_string(start % MinutesPerDay) + "\n");
    }
  }
  Outcome outcome = evaluateFolder(folder);
  expectBoundedRun(outcome);
  expectErrorForm(outcome.report, "V oddani datoteki so napake.");
  EXPECT_EQ(Count - 1, outcome.report.countEndingWith(
                           ", torej se prekrivata [casi so v minutah od zacetka leta]."));
  EXPECT_EQ(static_cast<size_t>(Count) + 2, outcome.report.lines.size());
}

TEST(HostileSchedules, EveryMinuteOfTheYearIsScored) {
  // 527040 one-minute screenings, written from the last minute backwards.
  std::string folder = freshScratchFolder("hostile/every_minute");
  FileWriter(folder + "/input.txt")
      .text(TestCaseHead).text("1\n").text(filmBlock(0, 1)).text("2 1\n")
      .text(ViewerBlock).text(ViewerBlock);
  {
    FileWriter submission(folder + "/submission.txt");
    submission.text(SubmissionHead).text(std::to_string(MinutesPerYear) + "\n");
    for (int64_t start = MinutesPerYear - 1; start >= 0; start--)
      submission.text("0 " + std::to_string(start / MinutesPerDay) + " " +
                      std::to_string(start % MinutesPerDay) + "\n");
  }
  Outcome outcome = evaluateFolder(folder);
  expectBoundedRun(outcome);
  expectSuccessForm(outcome.report);
}

}  // namespace
