#ifndef SKEDOMAT_BATCH_CASE_STATUS_H
#define SKEDOMAT_BATCH_CASE_STATUS_H

#include <string>
#include <vector>

// What became of one case of a batch. Everything that follows from a
// status is in one table: its name in the results file, its label in the
// tables a person reads, whether it carries a score, whether the solver is
// to blame, and whether it fails the batch (exit status 2). Naming,
// reading back, totals and the exit status all go by that table.
enum class CaseStatus {
  Ok,               // evaluated and scored
  Invalid,          // the schedule breaks a rule of the task
  CheckFailure,     // a file is faulty
  UnexpectedError,  // the evaluation failed otherwise (out of memory, say)
  NoReport,         // no submission, a crashed child or a garbled report
  SolverFailed,     // the solver did not exit with 0
  TimeLimit         // the solver ran past the time limit
};

struct CaseStatusTraits {
  CaseStatus status;
  const char* name;   // in the results file: "ok", "invalid", ...
  const char* label;  // in tables and pages, Slovenian, ASCII
  bool carriesScore;
  bool solversFault;
  bool failsBatch;
};

// Every status, in the order above.
const std::vector<CaseStatusTraits>& caseStatuses();

const CaseStatusTraits& traitsOf(CaseStatus status);
const char* statusName(CaseStatus status);
const char* statusLabel(CaseStatus status);

// The status of a name statusName gives; false for any other text.
bool statusOfName(const std::string& name, CaseStatus& status);

#endif  // SKEDOMAT_BATCH_CASE_STATUS_H
