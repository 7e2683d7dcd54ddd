#ifndef SKEDOMAT_BATCH_CASE_RESULT_H
#define SKEDOMAT_BATCH_CASE_RESULT_H

#include <cstdint>
#include <string>
#include <vector>

#include "base/fraction.h"
#include "batch/case_features.h"
#include "batch/case_status.h"

// What the batch learnt of one case: its status and, for a schedule that
// was scored, the tickets sold in each run. The score is the exact mean of
// those counts, kept as the counts themselves, not the report's last line,
// which holds six significant digits only.

// How the solver of a case ended, when the batch ran one.
struct SolverRun {
  bool ran = false;
  bool exited = false;   // false: crashed, was killed or could not start
  int status = -1;       // the exit status; the signal or exception code
                         // when it did not exit
  double seconds = 0;    // wall time from its start to its end
  std::string stderrTail;  // the end of its standard error
};

// The same case in an earlier results file, when the batch is compared.
struct EarlierResult {
  bool present = false;
  CaseStatus status = CaseStatus::NoReport;
  std::vector<int64_t> runs;
};

struct CaseResult {
  std::string name;        // the case file's name without ".txt"
  std::string reportPath;  // empty when the report is not kept
  std::string pagePath;    // its explain page; empty when none was made
  CaseStatus status = CaseStatus::NoReport;
  std::vector<int64_t> runs;  // tickets sold per run, when Ok
  CaseFeatures features;
  std::string message;  // why it failed: a report's first message line

  // Against the best score known for the case, when one is: the score
  // divided by it (0 for a case without a score or a best of 0).
  bool hasBest = false;
  double best = 0;
  double relative = 0;

  EarlierResult earlier;
  SolverRun solver;

  bool scored() const { return traitsOf(status).carriesScore && !runs.empty(); }
  // The exact mean of the runs; 0 when not scored.
  Fraction exactScore() const;
  // The same as near as a double comes.
  double score() const { return exactScore().value(); }

  // Against the earlier result, when both scored: this score less the
  // earlier one, and the same relative to the earlier one (0 when it was 0).
  // Both over the runs both have: run i is seeded alike in every batch, so
  // a comparison with another run count compares the same draws.
  bool hasChange() const;
  Fraction change() const;
  double relativeChange() const;
  // Scored now but not before, or the other way round.
  bool newlyFixed() const;
  bool newlyFailing() const;
};

// The exact mean of per-run counts; 0 for none.
Fraction meanOf(const std::vector<int64_t>& runs);

// The decimal text of a mean of counts as the results file holds it: the
// integer itself when it divides, otherwise the shortest text that reads
// back as the nearest double.
std::string meanText(const std::vector<int64_t>& runs);

#endif  // SKEDOMAT_BATCH_CASE_RESULT_H
