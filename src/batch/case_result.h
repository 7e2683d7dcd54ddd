#ifndef SKEDOMAT_BATCH_CASE_RESULT_H
#define SKEDOMAT_BATCH_CASE_RESULT_H

#include <cstdint>
#include <string>
#include <vector>

#include "batch/case_features.h"

// What the batch learnt of one case: the form of its report and, for a
// schedule that was scored, the tickets sold in each run. The score is the
// exact mean of those counts, kept as their integer sum and number, not the
// report's last line, which holds six significant digits only. When the
// batch runs the contestant's solver first, a case whose solver ran past the
// time limit, or exited with another status than 0, is not evaluated.
enum class CaseStatus {
  Ok,
  Invalid,
  CheckFailure,
  UnexpectedError,
  NoReport,
  TimeLimit,
  SolverFailed
};

// The status as the table and the results file name it: "ok", "invalid",
// "check_failure", "unexpected_error", "no_report", "time_limit",
// "solver_failed".
const char* statusName(CaseStatus status);

// The status of a name statusName gives; false for any other text.
bool statusOfName(const std::string& name, CaseStatus& status);
// How the solver of a case ended, when the batch ran one.
struct SolverRun {
  bool ran = false;
  bool exited = false;   // false: crashed, was killed or could not start
  int status = -1;       // the exit status; the signal or exception code
                         // when it did not exit
  double seconds = 0;    // wall time from its start to its end
  std::string stderrTail;  // the end of its standard error
};

struct CaseResult {
  std::string name;        // the case file's name without ".txt"
  std::string reportPath;  // empty when the report is not kept
  std::string pagePath;    // its explain page; empty when none was made
  CaseStatus status = CaseStatus::NoReport;
  std::vector<int64_t> runs;  // tickets sold per run, when Ok
  CaseFeatures features;
  std::string message;  // a failure form's first message line, cut short

  // Against the best score known for the case, when one is: the score
  // divided by it (0 for a case without a score).
  bool hasBest = false;
  double best = 0;
  double relative = 0;

  // Against an earlier results file that scored the case too.
  bool hasChange = false;
  double change = 0;  // this score less the earlier one
  SolverRun solver;

  bool scored() const { return status == CaseStatus::Ok && !runs.empty(); }
  int64_t ticketSum() const;
  // The mean of the runs, as near as a double comes; 0 when not scored.
  double score() const;
};

// The decimal text of `sum / count`: the integer itself when it divides,
// otherwise the shortest text that reads back as the nearest double.
std::string meanText(int64_t sum, int64_t count);

// The shortest decimal text that reads back as `value` exactly.
std::string exactDoubleText(double value);

#endif  // SKEDOMAT_BATCH_CASE_RESULT_H
