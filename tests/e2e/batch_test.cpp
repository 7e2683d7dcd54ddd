// Runs `batch` on a folder of cases of every kind and checks its results
// against what `eval` reports for each case alone.
//
// Usage: skedomat_batch_tests SKEDOMAT DATA_DIRECTORY EXAMPLES_DIRECTORY SCRATCH_DIRECTORY

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "case_runner.h"
#include "spawn.h"

namespace fs = std::filesystem;

namespace {

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
  EXPECT_EQ(results, readFile((work / "two.jsonl").string()));

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
    EXPECT_EQ(normaliseReport(alone), normaliseReport(readFile((work / report).string())));
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
  const std::string summary = "{\"summary\":{\"cases\":4,\"scored\":1,\"failed\":3,\"no_report\":1,";
  EXPECT_EQ(summary, resultLines.back().substr(0, summary.size()));
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
