// The evaluation is deterministic: run i depends only on the two files and on
// i, so evaluating the same files again, or with more runs, repeats the
// per-run counts.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "case_runner.h"
#include "robustness_environment.h"
#include "spawn.h"

namespace fs = std::filesystem;

namespace {

const std::string TicketsLabel =
    "\x8A" "tevilo prodanih kart v posameznih simulacijah:";

// The report of evaluating the bundled example, given `extra` arguments.
std::string evaluateExample(const std::string& name,
                            const std::vector<std::string>& extra) {
  const RobustnessEnvironment& environment = robustnessEnvironment();
  fs::path work = freshScratchFolder("determinism/" + name);
  std::vector<std::string> arguments = {
      "eval", (fs::path(environment.examples) / "input.txt").string(),
      (fs::path(environment.examples) / "submission.txt").string(), "report.txt"};
  arguments.insert(arguments.end(), extra.begin(), extra.end());
  int status = runProgram(environment.skedomat, arguments, work.string(),
                          (work / ".stdout").string(), (work / ".stderr").string());
  EXPECT_EQ(0, status);
  return readFile((work / "report.txt").string());
}

// The per-run ticket counts of a success report; empty when it has none.
std::vector<int> ticketsPerRun(const std::string& report) {
  std::istringstream lines(report);
  for (std::string line; std::getline(lines, line);) {
    if (line.compare(0, TicketsLabel.size(), TicketsLabel) != 0) continue;
    std::istringstream counts(line.substr(TicketsLabel.size()));
    std::vector<int> result;
    for (int count; counts >> count;) result.push_back(count);
    return result;
  }
  return {};
}

TEST(Determinism, TheSameFilesGiveTheSameRuns) {
  std::string first = evaluateExample("first", {});
  std::string second = evaluateExample("second", {});
  ASSERT_EQ("OK\n", first.substr(0, 3)) << first;
  EXPECT_EQ(3u, ticketsPerRun(first).size());
  // Everything but the measured CPU time agrees.
  EXPECT_EQ(normaliseReport(first), normaliseReport(second));
}

TEST(Determinism, MoreRunsRepeatTheFirstOnes) {
  std::vector<int> three = ticketsPerRun(evaluateExample("three", {"3"}));
  std::vector<int> seven = ticketsPerRun(evaluateExample("seven", {"7"}));
  ASSERT_EQ(3u, three.size());
  ASSERT_EQ(7u, seven.size());
  EXPECT_EQ(three, std::vector<int>(seven.begin(), seven.begin() + 3));
  // Distinct seeds give distinct runs somewhere among seven.
  EXPECT_NE(std::vector<int>(7, seven.front()), seven);
}

}  // namespace
