#ifndef SKEDOMAT_TESTS_E2E_CASE_RUNNER_H
#define SKEDOMAT_TESTS_E2E_CASE_RUNNER_H

#include <string>
#include <vector>

// One end-to-end case: a folder of input files and expectations. The folder
// holds the inputs, optionally `args` (the arguments after the program name,
// separated by blanks, double quotes keeping blanks inside one;
// default "eval input.txt submission.txt report.txt"), `status` (expected exit
// status, default 0), `stdout.txt` and `stderr.txt` (expected standard output
// and error) and
// `expected.txt` (the expected report with LF line ends). Without
// `expected.txt` the run must leave the report path as it was.
struct CaseOutcome {
  int status = -1;
  std::string standardOutput;
  std::string standardError;
  bool reportExists = false;
  std::string report;
};

// Every case folder below `dataDirectory`, as paths relative to it, sorted.
std::vector<std::string> findCases(const std::string& dataDirectory);

// Reads a whole file; empty when it does not exist.
std::string readFile(const std::string& path);

// The arguments of a case folder.
std::vector<std::string> caseArguments(const std::string& caseDirectory);

// Copies the case to `workDirectory` (emptied first) and runs `skedomat` there.
CaseOutcome runCase(const std::string& skedomat, const std::string& caseDirectory,
                    const std::string& workDirectory);

// A report with what may differ between runs and builds replaced: the source
// position of a check failure and the figures of the CPU-time line. The report
// is split into lines at `lineEnd` alone, and the lines are joined with LF, so
// a line end of another form stays in the text and shows as a difference.
// Adds a note when the CPU-time line is malformed.
std::string normaliseReport(const std::string& report, const std::string& lineEnd = "\n");

// The seconds of the report's CPU-time line; -1 when it has none.
double reportedCpuSeconds(const std::string& report);

// How many times `part` stands in `text`, overlaps counted.
size_t countOccurrences(const std::string& text, const std::string& part);

// `text` with every LF replaced by `lineEnd`.
std::string withLineEnds(const std::string& text, const std::string& lineEnd);

#endif  // SKEDOMAT_TESTS_E2E_CASE_RUNNER_H
