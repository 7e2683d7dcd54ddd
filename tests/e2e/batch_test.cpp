// Runs `batch` on a folder of cases of every kind and checks its results
// against what `eval` reports for each case alone.
//
// Usage: skedomat_batch_tests SKEDOMAT DATA_DIRECTORY EXAMPLES_DIRECTORY SCRATCH_DIRECTORY

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <sstream>
#include <string>
#include <vector>

#include "case_runner.h"
#include "spawn.h"

namespace fs = std::filesystem;

namespace {

const bool OnWindows = SKEDOMAT_E2E_ON_WINDOWS != 0;

void writeFileText(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string skedomatPath;
fs::path dataDirectory;
fs::path examplesDirectory;
fs::path scratchDirectory;

// Three runs give the example a mean that six digits do not hold.
const int Runs = 3;

struct CaseFiles {
  std::string name;
  fs::path folder;  // holds input.txt and, unless empty, submission.txt
  bool withSubmission;
  std::string status;
};

const std::vector<CaseFiles>& cases() {
  static const std::vector<CaseFiles> all = {
      {"a_valid", examplesDirectory, true, "ok"},
      {"b_invalid", dataDirectory / "submission" / "lf_reaches_validation", true, "invalid"},
      {"c_form_error", dataDirectory / "submission" / "01_contestant_missing", true,
       "check_failure"},
      {"d_no_submission", examplesDirectory, false, "no_report"}};
  return all;
}

int runIn(const fs::path& work, const std::vector<std::string>& arguments) {
  return runProgram(fs::absolute(skedomatPath).string(), arguments, work.string(),
                    (work / "stdout.txt").string(), (work / "stderr.txt").string());
}

fs::path prepareBatchFolder() {
  fs::path work = scratchDirectory / "batch";
  fs::remove_all(work);
  fs::create_directories(work / "cases");
  fs::create_directories(work / "submissions");
  for (const CaseFiles& files : cases()) {
    fs::copy_file(files.folder / "input.txt", work / "cases" / (files.name + ".txt"));
    if (files.withSubmission)
      fs::copy_file(files.folder / "submission.txt",
                    work / "submissions" / (files.name + ".txt"));
  }
  return work;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> all;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    all.push_back(line);
  }
  return all;
}

// The per-run counts of an OK report, as the JSON array of its numbers.
std::string countsOfReport(const std::string& report) {
  const std::string prefix = "\x8Atevilo prodanih kart v posameznih simulacijah: ";
  for (const std::string& line : lines(report))
    if (line.compare(0, prefix.size(), prefix) == 0) {
      std::string counts = line.substr(prefix.size());
      for (char& c : counts)
        if (c == ' ') c = ',';
      return "[" + counts + "]";
    }
  return "<no counts>";
}

// A results file without the provenance of its summary, which names the
// command line and the time it ran.
std::string withoutProvenance(const std::string& results) {
  const std::string marker = ",\"provenance\":{";
  const size_t start = results.find(marker);
  if (start == std::string::npos) return results;
  return results.substr(0, start) + results.substr(results.find('}', start + marker.size()) + 1);
}

// The text of a JSON field's value in a line of the results file.
std::string field(const std::string& line, const std::string& key) {
  const std::string marker = "\"" + key + "\":";
  const size_t start = line.find(marker);
  if (start == std::string::npos) return "<missing>";
  const size_t from = start + marker.size();
  const size_t end = line[from] == '[' ? line.find(']', from) + 1
                                       : line.find_first_of(",}", from);
  return line.substr(from, end - from);
}

TEST(Batch, AgreesWithEvalCaseByCaseWhateverTheJobs) {
  const fs::path work = prepareBatchFolder();
  const std::vector<std::string> command = {
      "batch", "cases", "submissions", "--runs", std::to_string(Runs), "--reports",
      "reports", "--results"};
  std::vector<std::string> oneJob = command, twoJobs = command;
  oneJob.insert(oneJob.end(), {"one.jsonl", "--jobs", "1"});
  twoJobs.insert(twoJobs.end(), {"two.jsonl", "--jobs", "2"});
  // The case without a submission gets no report.
  ASSERT_EQ(2, runIn(work, oneJob)) << readFile((work / "stderr.txt").string());
  const std::string table = readFile((work / "stdout.txt").string());
  ASSERT_EQ(2, runIn(work, twoJobs));
  const std::string results = readFile((work / "one.jsonl").string());
  EXPECT_EQ(withoutProvenance(results), withoutProvenance(readFile((work / "two.jsonl").string())));

  const std::vector<std::string> resultLines = lines(results);
  ASSERT_EQ(cases().size() + 1, resultLines.size()) << results;
  for (size_t i = 0; i < cases().size(); ++i) {
    const CaseFiles& files = cases()[i];
    const std::string& line = resultLines[i];
    SCOPED_TRACE(line);
    EXPECT_EQ("\"" + files.name + "\"", field(line, "name"));
    EXPECT_EQ("\"" + files.status + "\"", field(line, "status"));
    EXPECT_NE(std::string::npos, table.find(files.name)) << table;
    if (!files.withSubmission) {
      EXPECT_EQ("null", field(line, "report"));
      continue;
    }
    const std::string report = "reports/" + files.name + ".txt";
    EXPECT_EQ("\"" + report + "\"", field(line, "report"));
    ASSERT_EQ(0, runIn(work, {"eval", "cases/" + files.name + ".txt",
                              "submissions/" + files.name + ".txt", "alone.txt",
                              std::to_string(Runs)}));
    const std::string alone = readFile((work / "alone.txt").string());
    const std::string lineEnd = OnWindows ? "\r\n" : "\n";
    EXPECT_EQ(normaliseReport(alone, lineEnd),
              normaliseReport(readFile((work / report).string()), lineEnd));
    if (files.status != "ok") {
      EXPECT_EQ("[]", field(line, "runs"));
      EXPECT_EQ("null", field(line, "score"));
      continue;
    }
    const std::string counts = countsOfReport(alone);
    EXPECT_EQ(counts, field(line, "runs"));
    // The score is the exact mean of the counts, not the report's rounding.
    double sum = 0;
    std::istringstream numbers(counts.substr(1));
    for (double count; numbers >> count; numbers.ignore()) sum += count;
    EXPECT_EQ(sum / Runs, std::strtod(field(line, "score").c_str(), nullptr));
  }
  // Every case counts in the mean, a failed one as 0, and the failures are
  // counted by status.
  const std::string& summary = resultLines.back();
  const std::string head =
      "{\"summary\":{\"cases\":4,\"scored\":1,\"failed\":3,\"statuses\":{\"ok\":1,"
      "\"invalid\":1,\"check_failure\":1,\"unexpected_error\":0,\"no_report\":1,"
      "\"solver_failed\":0,\"time_limit\":0},";
  EXPECT_EQ(head, summary.substr(0, head.size()));
  const double score = std::strtod(field(resultLines[0], "score").c_str(), nullptr);
  EXPECT_EQ(score, std::strtod(field(summary, "score_sum").c_str(), nullptr));
  EXPECT_EQ(score / 4, std::strtod(field(summary, "score_mean").c_str(), nullptr));
}

TEST(Batch, RefusesAMissingFolderAndAResultsFileThatIsAnInput) {
  const fs::path work = prepareBatchFolder();
  const std::string caseFile = "cases/a_valid.txt";
  const std::string before = readFile((work / caseFile).string());
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"batch", "cases", "missing"},
        std::vector<std::string>{"batch", "cases", "submissions", "--results", caseFile},
        std::vector<std::string>{"batch", "cases", "submissions", "--results", "cases"}}) {
    SCOPED_TRACE(arguments[2] + " " + arguments.back());
    EXPECT_EQ(2, runIn(work, arguments));
    const std::vector<std::string> message = lines(readFile((work / "stderr.txt").string()));
    EXPECT_EQ(1u, message.size());
    EXPECT_EQ("", readFile((work / "stdout.txt").string()));
  }
  EXPECT_EQ(before, readFile((work / caseFile).string()));
  EXPECT_EQ(1, runIn(work, {"batch", "cases", "submissions", "--jobs", "0"}));
}

// A child that runs out of memory writes the unexpected-error report, and
// the batch reads it as such. Under a limit of the address space that the
// batch itself fits in, a case of a million viewers is more than `eval`
// can hold.
TEST(Batch, AChildOutOfMemoryIsAnUnexpectedError) {
  if (OnWindows || SKEDOMAT_E2E_SANITIZED) GTEST_SKIP() << "needs ulimit -v on the batch";
  const fs::path work = scratchDirectory / "out_of_memory";
  fs::remove_all(work);
  fs::create_directories(work / "cases");
  fs::create_directories(work / "submissions");
  {
    std::ofstream input(work / "cases" / "big.txt", std::ios::binary);
    input << "Tavo\n1\n1\n0\ntt1\nFilm\n100\n5.0\n1\n0\nDrama\n1000000 10\n";
    for (int i = 0; i < 1000000; ++i) input << "20:00\n1\n0\nDrama\n";
  }
  writeFileText(work / "submissions" / "big.txt", "000001\nTavo\n1\n1\n0 10 1200\n");
  const std::string batch = "ulimit -v 24000 && exec \"" + fs::absolute(skedomatPath).string() +
                            "\" batch cases submissions --runs 1 --jobs 1 --results r.jsonl";
  ASSERT_EQ(0, runProgram("/bin/sh", {"-c", batch}, work.string(),
                          (work / "stdout.txt").string(), (work / "stderr.txt").string()))
      << readFile((work / "stderr.txt").string());
  const std::string line = lines(readFile((work / "r.jsonl").string()))[0];
  EXPECT_EQ("\"unexpected_error\"", field(line, "status")) << line;
  EXPECT_NE(std::string::npos,
            line.find("\"message\":\"Nepricakovana napaka.  Predlagamo, da obvestis "
                      "organizatorje tekmovanja.\""))
      << line;
}

// A folder of five small generated cases, each with its baseline schedule.
fs::path prepareGeneratedFolder() {
  fs::path work = scratchDirectory / "batch_generated";
  fs::remove_all(work);
  fs::create_directories(work / "submissions");
  EXPECT_EQ(0, runIn(work, {"generate", "--seeds", "1-5", "--dir", "cases", "--films", "15",
                            "--viewers", "150"}));
  for (int seed = 1; seed <= 5; ++seed) {
    const std::string name = "000" + std::to_string(seed) + ".txt";
    EXPECT_EQ(0, runIn(work, {"baseline", "cases/" + name, "submissions/" + name}));
  }
  return work;
}

// The score a results line gives its case.
double scoreOf(const std::string& results, const std::string& name) {
  for (const std::string& line : lines(results))
    if (field(line, "name") == "\"" + name + "\"")
      return std::strtod(field(line, "score").c_str(), nullptr);
  return -1;
}

TEST(Batch, ShardsMergeIntoTheWholeAndBestScoresAndComparisonsFollowTheScores) {
  const fs::path work = prepareGeneratedFolder();
  const std::vector<std::string> batch = {"batch", "cases", "submissions", "--runs", "1"};
  auto with = [&batch](std::vector<std::string> options) {
    std::vector<std::string> arguments = batch;
    arguments.insert(arguments.end(), options.begin(), options.end());
    return arguments;
  };
  ASSERT_EQ(0, runIn(work, with({"--results", "whole.jsonl"})));
  const std::string whole = readFile((work / "whole.jsonl").string());
  // Each case carries its sizes, the screenings those of its submission.
  const std::string screenings = lines(readFile((work / "submissions" / "0001.txt").string()))[3];
  EXPECT_NE(std::string::npos,
            lines(whole)[0].find("\"features\":{\"films\":15,\"viewers\":150,\"seats\":"))
      << lines(whole)[0];
  EXPECT_NE(std::string::npos, lines(whole)[0].find("\"screenings\":" + screenings + "}"));
  ASSERT_EQ(0, runIn(work, with({"--shard", "2/2", "--results", "b.jsonl"})));
  ASSERT_EQ(0, runIn(work, with({"--shard", "1/2", "--results", "a.jsonl"})));
  // Cases 0001, 0003 and 0005, then the summary.
  EXPECT_EQ(4u, lines(readFile((work / "a.jsonl").string())).size());
  ASSERT_EQ(0, runIn(work, {"batch", "--merge", "merged.jsonl", "b.jsonl", "a.jsonl"}));
  EXPECT_EQ(withoutProvenance(whole),
            withoutProvenance(readFile((work / "merged.jsonl").string())));
  EXPECT_EQ(2, runIn(work, {"batch", "--merge", "twice.jsonl", "a.jsonl", "a.jsonl"}));

  // A best below the score is raised, one above it stays; frozen, none moves.
  const std::string best = "{\"0001\":1,\"0002\":999999999}\n";
  std::ofstream(work / "best.json", std::ios::binary) << best;
  ASSERT_EQ(0, runIn(work, with({"--best", "best.json", "--freeze-best", "--results",
                                 "frozen.jsonl"})));
  EXPECT_EQ(best, readFile((work / "best.json").string()));
  const std::string frozen = readFile((work / "frozen.jsonl").string());
  EXPECT_EQ(scoreOf(whole, "0001"),
            std::strtod(field(lines(frozen)[0], "relative").c_str(), nullptr));
  ASSERT_EQ(0, runIn(work, with({"--best", "best.json"})));
  const std::string raised = readFile((work / "best.json").string());
  EXPECT_NE(std::string::npos, raised.find("\"0002\":999999999")) << raised;
  EXPECT_NE(std::string::npos,
            raised.find("\"0003\":" + field(lines(whole)[2], "score"))) << raised;

  // An empty schedule for one case: one worse, four equal.
  std::ofstream(work / "submissions" / "0003.txt", std::ios::binary)
      << "000000\nTavo\n3\n0\n";
  ASSERT_EQ(0, runIn(work, with({"--compare", "whole.jsonl", "--results", "later.jsonl"})));
  const std::string later = lines(readFile((work / "later.jsonl").string())).back();
  EXPECT_NE(std::string::npos, later.find("\"better\":0,\"worse\":1,\"equal\":4")) << later;
  EXPECT_DOUBLE_EQ(-scoreOf(whole, "0003") / 5,
                   std::strtod(field(later, "change_mean").c_str(), nullptr));
}

// A run compared with itself is equal on every case, and one that loses on
// each of 12 cases has the sign test's exact p-value 2 * 0.5^12.
TEST(Batch, TheComparisonTellsLuckFromAChange) {
  const fs::path work = scratchDirectory / "batch_compared";
  fs::remove_all(work);
  fs::create_directories(work / "baseline");
  fs::create_directories(work / "worse");
  ASSERT_EQ(0, runIn(work, {"generate", "--seeds", "1-12", "--dir", "cases", "--films", "12",
                            "--viewers", "120"}));
  for (int seed = 1; seed <= 12; ++seed) {
    const std::string name = (seed < 10 ? "000" : "00") + std::to_string(seed) + ".txt";
    ASSERT_EQ(0, runIn(work, {"baseline", "cases/" + name, "baseline/" + name}));
    // The baseline's first screening alone sells fewer tickets.
    const std::vector<std::string> schedule = lines(readFile((work / "baseline" / name).string()));
    writeFileText(work / "worse" / name,
                  schedule[0] + "\n" + schedule[1] + "\n" + schedule[2] + "\n1\n" + schedule[4] + "\n");
  }
  const std::vector<std::string> batch = {"batch", "cases", "baseline", "--runs", "2"};
  auto with = [&batch](std::vector<std::string> options) {
    std::vector<std::string> arguments = batch;
    arguments.insert(arguments.end(), options.begin(), options.end());
    return arguments;
  };
  ASSERT_EQ(0, runIn(work, with({"--results", "old.jsonl"})));
  ASSERT_EQ(0, runIn(work, with({"--results", "same.jsonl", "--compare", "old.jsonl"})));
  const std::string same = lines(readFile((work / "same.jsonl").string())).back();
  EXPECT_NE(std::string::npos,
            same.find("\"better\":0,\"worse\":0,\"equal\":12,\"newly_failing\":0,"))
      << same;
  EXPECT_EQ("1", field(same, "sign_test_p"));
  EXPECT_EQ("1", field(same, "wilcoxon_p"));
  EXPECT_EQ("1", field(same, "geometric_mean_ratio"));
  EXPECT_EQ("\"not_distinguishable\"", field(same, "verdict"));

  std::vector<std::string> worse = {"batch", "cases", "worse", "--runs", "2", "--results",
                                    "worse.jsonl", "--compare", "old.jsonl"};
  ASSERT_EQ(0, runIn(work, worse));
  const std::string table = readFile((work / "stdout.txt").string());
  const std::string summary = lines(readFile((work / "worse.jsonl").string())).back();
  EXPECT_NE(std::string::npos, summary.find("\"better\":0,\"worse\":12,")) << summary;
  EXPECT_EQ(2 * std::pow(0.5, 12), std::strtod(field(summary, "sign_test_p").c_str(), nullptr));
  EXPECT_EQ("\"worse\"", field(summary, "verdict"));
  // The console and the page say the same.
  EXPECT_NE(std::string::npos, table.find("Nova razlicica je slabsa")) << table;
  ASSERT_EQ(0, runIn(work, {"batch", "--page", "page.html", "worse.jsonl"}));
  EXPECT_NE(std::string::npos,
            readFile((work / "page.html").string()).find("Nova razlicica je slabsa"));
}

// The history keeps each run under its time; --compare last takes the
// newest, and the list shows them newest first.
TEST(Batch, TheHistoryKeepsEveryRunAndComparesWithTheLast) {
  const fs::path work = prepareGeneratedFolder();
  const std::vector<std::string> batch = {"batch", "cases", "submissions", "--runs", "1",
                                          "--history", "runs", "--compare", "last"};
  ASSERT_EQ(0, runIn(work, batch)) << readFile((work / "stderr.txt").string());
  // The first run has nothing to compare with, and says so.
  EXPECT_NE(std::string::npos, readFile((work / "stderr.txt").string()).find("opozorilo"));
  std::vector<std::string> runs;
  for (const auto& entry : fs::directory_iterator(work / "runs"))
    runs.push_back(entry.path().filename().string());
  ASSERT_EQ(1u, runs.size());
  std::ofstream(work / "submissions" / "0003.txt", std::ios::binary) << "000000\nTavo\n3\n0\n";
  ASSERT_EQ(0, runIn(work, batch));
  EXPECT_NE(std::string::npos,
            readFile((work / "stdout.txt").string()).find("slabsih 1, enakih 4"));
  ASSERT_EQ(0, runIn(work, {"batch", "--history", "runs"}));
  const std::vector<std::string> list = lines(readFile((work / "stdout.txt").string()));
  ASSERT_EQ(3u, list.size());
  // Newest first: the second run lost case 0003's score.
  EXPECT_LT(std::strtod(list[1].substr(24).c_str(), nullptr),
            std::strtod(list[2].substr(24).c_str(), nullptr));
  EXPECT_EQ(1, runIn(work, {"batch", "cases", "submissions", "--compare", "last"}));
}

TEST(Batch, TheSummaryPageComesFromTheResultsAlone) {
  const fs::path work = prepareGeneratedFolder();
  std::ofstream(work / "submissions" / "0002.txt", std::ios::binary) << "12345\n";
  ASSERT_EQ(0, runIn(work, {"batch", "cases", "submissions", "--runs", "1", "--results",
                            "results.jsonl", "--best", "best.json", "--html", "batch.html"}));
  ASSERT_EQ(0, runIn(work, {"batch", "--page", "page.html", "results.jsonl"}));
  const std::string page = readFile((work / "batch.html").string());
  EXPECT_EQ(page, readFile((work / "page.html").string()));
  EXPECT_EQ(5u, countOccurrences(page, "<tr class=\"case\">"));
  // Every case in each of the five plots by size, at 0 when it failed; the
  // failed one has no screenings to plot by.
  EXPECT_EQ(4u * 5u + 4u, countOccurrences(page, "<circle class=\"point\""));
  EXPECT_EQ(1u, countOccurrences(page, "<li class=\"failure\">"));
  EXPECT_NE(std::string::npos, page.find("stevilka tekmovalca bi morala imeti 6 stevk"));
  EXPECT_EQ(std::string::npos, page.find("<script"));
  EXPECT_EQ(std::string::npos, page.find("http"));
}

// The targets of every href in `page`, undoing the %XX escapes.
std::vector<std::string> linkTargets(const std::string& page) {
  std::vector<std::string> targets;
  const std::string marker = "href=\"";
  for (size_t at = page.find(marker); at != std::string::npos; at = page.find(marker, at + 1)) {
    const size_t begin = at + marker.size();
    const std::string link = page.substr(begin, page.find('"', begin) - begin);
    std::string target;
    for (size_t i = 0; i < link.size(); ++i) {
      if (link[i] == '%' && i + 2 < link.size()) {
        target += static_cast<char>(std::stoi(link.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else {
        target += link[i];
      }
    }
    targets.push_back(target);
  }
  return targets;
}

TEST(Batch, ExplainPagesComeWithTheirReportsAndTheSummaryLinksThemRelatively) {
  const fs::path work = prepareBatchFolder();
  ASSERT_EQ(2, runIn(work, {"batch", "cases", "submissions", "--runs", std::to_string(Runs),
                            "--reports", "reports", "--explain", "out/pages", "--html",
                            "out/summary.html", "--results", "out/results.jsonl"}));
  const std::string summary = readFile((work / "out" / "summary.html").string());
  const std::vector<std::string> targets = linkTargets(summary);
  // Each case with a submission, once in the table and once per plot it is in.
  EXPECT_GE(targets.size(), 3u);
  for (const std::string& target : targets) {
    EXPECT_EQ(0u, target.rfind("pages/", 0)) << target;
    EXPECT_TRUE(fs::is_regular_file(work / "out" / target)) << target;
  }
  for (const CaseFiles& files : cases()) {
    if (!files.withSubmission) continue;
    SCOPED_TRACE(files.name);
    EXPECT_TRUE(fs::is_regular_file(work / "out" / "pages" / (files.name + ".html")));
    ASSERT_EQ(0, runIn(work, {"eval", "cases/" + files.name + ".txt",
                              "submissions/" + files.name + ".txt", "alone.txt",
                              std::to_string(Runs)}));
    const std::string lineEnd = OnWindows ? "\r\n" : "\n";
    EXPECT_EQ(normaliseReport(readFile((work / "alone.txt").string()), lineEnd),
              normaliseReport(readFile((work / "reports" / (files.name + ".txt")).string()),
                              lineEnd));
  }
  // Each page links back to the summary, wherever the two folders are.
  for (const CaseFiles& files : cases()) {
    if (!files.withSubmission) continue;
    const std::string page = readFile((work / "out" / "pages" / (files.name + ".html")).string());
    const std::string marker = "id=\"summary-link\" href=\"";
    const size_t start = page.find(marker);
    ASSERT_NE(std::string::npos, start) << files.name;
    const std::string href =
        page.substr(start + marker.size(), page.find('"', start + marker.size()) - start - marker.size());
    EXPECT_TRUE(fs::equivalent(work / "out" / "pages" / href, work / "out" / "summary.html"))
        << href;
  }
  // From the results alone, a page elsewhere links by its own folder.
  ASSERT_EQ(0, runIn(work, {"batch", "--page", "again.html", "out/results.jsonl"}));
  for (const std::string& target : linkTargets(readFile((work / "again.html").string())))
    EXPECT_TRUE(fs::is_regular_file(work / target)) << target;
}

void writeFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A folder of cases, each the bundled example, with no submissions yet and
// the example's submission beside them as good.txt.
fs::path prepareSolveFolder(const std::vector<std::string>& names) {
  fs::path work = scratchDirectory / "solve";
  fs::remove_all(work);
  fs::create_directories(work / "cases");
  fs::create_directories(work / "submissions");
  for (const std::string& name : names)
    fs::copy_file(examplesDirectory / "input.txt", work / "cases" / (name + ".txt"));
  fs::copy_file(examplesDirectory / "submission.txt", work / "good.txt");
  return work;
}

// Solves case 0042 with the good submission (its seed is 42), case "fail"
// by failing with status 3 after 25 lines on standard error, case
// "garbage" with a submission that is no submission, and any other case by
// exiting 0 without writing one.
void writeSolverScripts(const fs::path& work) {
  writeFile(work / "solver.sh",
            "case \"$1\" in\n"
            "  42) cp good.txt \"$2\" ;;\n"
            "  fail) i=1; while [ $i -le 25 ]; do echo \"line $i\" >&2; i=$((i+1)); done;"
            " exit 3 ;;\n"
            "  garbage) echo garbage > \"$2\" ;;\n"
            "  *) exit 0 ;;\n"
            "esac\n");
  writeFile(work / "solver.cmd",
            "@echo off\r\n"
            "if \"%~1\"==\"42\" copy /y good.txt %2 >nul\r\n"
            "if \"%~1\"==\"fail\" exit /b 3\r\n"
            "if \"%~1\"==\"garbage\" echo garbage>%2\r\n");
}

std::vector<std::string> resultsOf(const fs::path& work) {
  return lines(readFile((work / "results.jsonl").string()));
}

// The text of a field of the solver object in a line of the results file.
std::string solverField(const std::string& line, const std::string& key) {
  const size_t solver = line.find("\"solver\":{");
  return solver == std::string::npos ? "<no solver>" : field(line.substr(solver + 10), key);
}

TEST(BatchSolve, EvaluatesWhatTheSolverWroteAndStopsAtOneThatFails) {
  const fs::path work = prepareSolveFolder({"0042", "fail", "garbage", "none"});
  writeSolverScripts(work);
  // An old submission is not taken for what the solver wrote.
  fs::copy_file(work / "good.txt", work / "submissions" / "none.txt");
  const std::string solver = OnWindows ? "solver.cmd {seed} {out}" : "sh solver.sh {seed} {out}";
  ASSERT_EQ(2, runIn(work, {"batch", "cases", "submissions", "--runs", std::to_string(Runs),
                            "--solve", solver, "--results", "results.jsonl"}))
      << readFile((work / "stderr.txt").string());
  const std::vector<std::string> results = resultsOf(work);
  ASSERT_EQ(5u, results.size());
  EXPECT_NE(std::string::npos,
            readFile((work / "stdout.txt").string()).find("najpocasnejsi resevalec: "));

  ASSERT_EQ(0, runIn(work, {"eval", "cases/0042.txt", "good.txt", "alone.txt",
                            std::to_string(Runs)}));
  EXPECT_EQ("\"ok\"", field(results[0], "status")) << results[0];
  EXPECT_EQ(countsOfReport(readFile((work / "alone.txt").string())), field(results[0], "runs"));
  EXPECT_EQ("0", solverField(results[0], "status"));

  EXPECT_EQ("\"solver_failed\"", field(results[1], "status")) << results[1];
  EXPECT_EQ("3", solverField(results[1], "status"));
  EXPECT_EQ("[]", field(results[1], "runs"));
  if (!OnWindows) {
    std::string tail;
    for (int i = 6; i <= 25; ++i) tail += "line " + std::to_string(i) + "\\u000a";
    EXPECT_EQ("\"" + tail + "\"", solverField(results[1], "stderr_tail"));
  }

  EXPECT_EQ("\"check_failure\"", field(results[2], "status")) << results[2];
  EXPECT_EQ("0", solverField(results[2], "status"));
  EXPECT_EQ("\"no_report\"", field(results[3], "status")) << results[3];
  EXPECT_NE(std::string::npos, results[4].find("\"solver_failures\":1")) << results[4];
}

// The results with the solvers' times, which differ from run to run, and
// so the slowest solver's name, left out.
std::string withoutTimes(const std::string& results) {
  std::string text;
  for (std::string line : lines(results)) {
    const size_t slowest = line.find(",\"slowest_solver\":{");
    if (slowest != std::string::npos) line = line.substr(0, slowest);
    for (size_t at = 0; (at = line.find("\"seconds\":", at)) != std::string::npos;) {
      const size_t end = line.find_first_of(",}", at);
      line.erase(at, end - at);
    }
    text += line + "\n";
  }
  return text;
}

TEST(BatchSolve, ResultsWithFailedSolversMergeCompareAndMakeAPage) {
  const fs::path work = prepareSolveFolder({"0042", "fail", "garbage", "none"});
  writeSolverScripts(work);
  const std::string solver = OnWindows ? "solver.cmd {seed} {out}" : "sh solver.sh {seed} {out}";
  const std::vector<std::string> batch = {"batch", "cases", "submissions", "--runs", "1",
                                          "--solve", solver};
  auto with = [&batch](std::vector<std::string> options) {
    std::vector<std::string> arguments = batch;
    arguments.insert(arguments.end(), options.begin(), options.end());
    return arguments;
  };
  ASSERT_EQ(2, runIn(work, with({"--results", "whole.jsonl"})));
  // The first shard, 0042 and garbage, has no failed solver.
  ASSERT_EQ(0, runIn(work, with({"--results", "a.jsonl", "--shard", "1/2"})));
  ASSERT_EQ(2, runIn(work, with({"--results", "b.jsonl", "--shard", "2/2"})));
  ASSERT_EQ(2, runIn(work, {"batch", "--merge", "merged.jsonl", "b.jsonl", "a.jsonl"}))
      << readFile((work / "stderr.txt").string());
  const std::string whole = readFile((work / "whole.jsonl").string());
  const std::string merged = readFile((work / "merged.jsonl").string());
  EXPECT_EQ(withoutTimes(withoutProvenance(whole)), withoutTimes(withoutProvenance(merged)));
  EXPECT_NE(std::string::npos, merged.find("\"solver_failures\":1,\"slowest_solver\":{"))
      << merged;

  // The contestant's loop goes on from a file with failed solvers in it.
  ASSERT_EQ(2, runIn(work, with({"--compare", "merged.jsonl", "--results", "later.jsonl"})))
      << readFile((work / "stderr.txt").string());
  const std::string later = lines(readFile((work / "later.jsonl").string())).back();
  EXPECT_NE(std::string::npos,
            later.find("\"comparison\":{\"better\":0,\"worse\":0,\"equal\":1,"
                       "\"newly_failing\":0,\"newly_fixed\":0,"))
      << later;
  ASSERT_EQ(0, runIn(work, {"batch", "--page", "page.html", "later.jsonl", "--compare",
                            "whole.jsonl"}))
      << readFile((work / "stderr.txt").string());
  EXPECT_EQ(3u, countOccurrences(readFile((work / "page.html").string()),
                                 "<li class=\"failure\">"));
}

// No case name reaches the solver's shell, however the pattern quotes the
// placeholders: names that would run a command in sh or cmd.exe, or expand
// a variable there, are solved like any other.
TEST(BatchSolve, NoCaseNameBecomesACommand) {
  const fs::path work = prepareSolveFolder({"a&mkdir PWNED1&", "%PATH%", "$(mkdir PWNED2)",
                                            "b`mkdir PWNED3`", "c;mkdir PWNED4"});
  const std::string program = "\"" + fs::absolute(skedomatPath).string() + "\"";
  for (const std::string& pattern :
       {program + " baseline \"{in}\" \"{out}\"", program + " baseline {in} {out}"}) {
    SCOPED_TRACE(pattern);
    fs::remove_all(work / "submissions");
    ASSERT_EQ(0, runIn(work, {"batch", "cases", "submissions", "--runs", "1", "--solve", pattern,
                              "--results", "results.jsonl"}))
        << readFile((work / "stderr.txt").string());
    for (const std::string& line : resultsOf(work)) {
      if (line.compare(0, 10, "{\"summary\"") == 0) continue;
      EXPECT_EQ("\"ok\"", field(line, "status")) << line;
    }
    for (const auto& entry : fs::directory_iterator(work))
      EXPECT_EQ(std::string::npos, entry.path().filename().string().find("PWNED"));
  }
}

TEST(BatchSolve, TakesTheSubmissionFromTheStandardOutputOfASolverReadingTheCase) {
  const fs::path work = prepareSolveFolder({"a"});
  // The solver fails unless its standard input is the case, which starts "Tavo".
  const std::string solver =
      OnWindows ? "type good.txt" : "read first && test \"$first\" = Tavo && cat good.txt";
  ASSERT_EQ(0, runIn(work, {"batch", "cases", "submissions", "--solve", solver,
                            "--results", "results.jsonl"}))
      << readFile((work / "stderr.txt").string());
  EXPECT_EQ("\"ok\"", field(resultsOf(work)[0], "status"));
  EXPECT_EQ(readFile((work / "good.txt").string()),
            readFile((work / "submissions" / "a.txt").string()));
  EXPECT_EQ(1, runIn(work, {"batch", "cases", "submissions", "--time-limit", "1"}));
}

TEST(BatchSolve, KillsASolverPastTheTimeLimitWithWhatItStarted) {
  if (OnWindows) GTEST_SKIP() << "the solver is a POSIX shell command";
  const fs::path work = prepareSolveFolder({"1", "2"});
  // Were the background child left alive, it would write its file after a second.
  const std::string solver = "(sleep 1; echo late > late{seed}.txt) & sleep 30";
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(2, runIn(work, {"batch", "cases", "submissions", "--jobs", "2", "--solve",
                            solver, "--time-limit", "0.5", "--results", "results.jsonl"}));
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 1.5);
  for (const std::string& line : resultsOf(work)) {
    if (line.compare(0, 10, "{\"summary\"") == 0) continue;
    EXPECT_EQ("\"time_limit\"", field(line, "status")) << line;
    EXPECT_EQ("null", field(line, "score"));
    EXPECT_LT(std::strtod(solverField(line, "seconds").c_str(), nullptr), 1.5);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  EXPECT_FALSE(fs::exists(work / "late1.txt"));
  EXPECT_FALSE(fs::exists(work / "late2.txt"));
}

// The names of the change bars of a summary page, left to right.
std::vector<std::string> changeBarNames(const std::string& page) {
  std::vector<std::string> names;
  const std::string bar = "<rect class=\"change-bar\"";
  for (size_t at = page.find(bar); at != std::string::npos; at = page.find(bar, at + 1)) {
    const size_t title = page.find("<title>", at) + 7;
    names.push_back(page.substr(title, page.find(": ", title) - title));
  }
  return names;
}

// A later run where two cases lose screenings and one fails: the page
// answers as the console does, and shows every case compared, worst first.
TEST(Batch, TheComparedSummaryPageGivesTheConsoleVerdictAndEveryChangeSorted) {
  const fs::path work = prepareGeneratedFolder();
  ASSERT_EQ(0, runIn(work, {"batch", "cases", "submissions", "--runs", "2", "--results",
                            "old.jsonl"}));
  for (const char* name : {"0002", "0004"}) {
    const fs::path path = work / "submissions" / (std::string(name) + ".txt");
    const std::vector<std::string> schedule = lines(readFile(path.string()));
    writeFileText(path, schedule[0] + "\n" + schedule[1] + "\n" + schedule[2] + "\n1\n" +
                            schedule[4] + "\n");
  }
  writeFileText(work / "submissions" / "0005.txt", "12345\n");
  ASSERT_EQ(0, runIn(work, {"batch", "cases", "submissions", "--runs", "2", "--compare",
                            "old.jsonl", "--results", "new.jsonl", "--html", "page.html"}));
  std::string verdict;
  for (const std::string& line : lines(readFile((work / "stdout.txt").string())))
    if (line.rfind("Nova razlicica", 0) == 0) verdict = line;
  ASSERT_FALSE(verdict.empty());
  const std::string page = readFile((work / "page.html").string());
  EXPECT_NE(std::string::npos, page.find("id=\"verdict\">" + verdict + "</p>")) << verdict;
  EXPECT_NE(std::string::npos, page.find("<code id=\"compared-file\">old.jsonl</code>"));
  EXPECT_EQ(1u, countOccurrences(page, "class=\"newly-failing\""));

  // One bar per case scored in both runs, by relative change.
  std::vector<std::pair<double, std::string>> changes;
  for (const std::string& line : lines(readFile((work / "new.jsonl").string())))
    if (field(line, "relative_change") != "<missing>")
      changes.emplace_back(std::strtod(field(line, "relative_change").c_str(), nullptr),
                           field(line, "name").substr(1, 4));
  ASSERT_EQ(4u, changes.size());
  std::sort(changes.begin(), changes.end());
  std::vector<std::string> sorted;
  for (const auto& change : changes) sorted.push_back(change.second);
  EXPECT_EQ(sorted, changeBarNames(page));
  EXPECT_LT(changes.front().first, 0);
  EXPECT_TRUE(sorted[0] == "0002" || sorted[0] == "0004") << sorted[0];
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc != 5) {
    fprintf(stderr, "usage: %s SKEDOMAT DATA_DIRECTORY EXAMPLES_DIRECTORY SCRATCH_DIRECTORY\n",
            argv[0]);
    return 2;
  }
  skedomatPath = argv[1];
  dataDirectory = argv[2];
  examplesDirectory = argv[3];
  scratchDirectory = argv[4];
  return RUN_ALL_TESTS();
}
