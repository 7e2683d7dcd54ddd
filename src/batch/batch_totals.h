#ifndef SKEDOMAT_BATCH_BATCH_TOTALS_H
#define SKEDOMAT_BATCH_BATCH_TOTALS_H

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "base/fraction.h"
#include "batch/case_result.h"
#include "batch/provenance.h"
#include "statistics/paired_comparison.h"

// The figures of a whole batch, counted as a contest counts them: every
// case counts, a case without a score as 0, so that a solver that fails on
// many cases never looks better for it. The mean of log scores (natural
// logarithms) is over the cases scored above zero only, since a zero has no
// logarithm: the zeros are counted apart.
struct BatchTotals {
  Provenance provenance;     // set by the batch, not by totalsOf
  bool interrupted = false;  // an interrupt stopped the batch: the cases
                            // are those it finished
  size_t cases = 0;
  size_t scored = 0;
  size_t failed = 0;  // every case that was not scored
  std::array<size_t, 7> byStatus{};  // indexed by CaseStatus
  size_t zeros = 0;   // scored cases whose score is 0
  Fraction scoreSum;
  Fraction scoreMean;   // scoreSum / cases; 0 for no case
  double logScoreMean = 0;  // 0 when none scored above zero
  // Over every case, when a best is known for any.
  bool relative = false;
  double relativeMean = 0;
  // Against an earlier results file, over the cases of both.
  bool compared = false;
  size_t better = 0;
  size_t worse = 0;
  size_t equal = 0;
  size_t newlyFailing = 0;
  size_t newlyFixed = 0;
  size_t onlyNew = 0;         // cases the earlier file does not have
  size_t otherRunCount = 0;   // cases scored in both with other run counts
  double changeMean = 0;      // of the cases scored in both
  // Whether the change is more than luck, over the cases scored in both
  // and the runs both have (run i is seeded alike in every batch):
  // both tests, the geometric mean ratio and the relative change with
  // their intervals, the cases beyond two standard errors, the verdict.
  PairedStatistics paired;
  // When the batch ran a solver for each case:
  bool solved = false;
  size_t solverFailures = 0;  // of the failed, those ended by their solver
  std::string slowestSolver;  // the case whose solver took longest
  double slowestSolverSeconds = 0;

  size_t count(CaseStatus status) const { return byStatus[static_cast<size_t>(status)]; }
  // True when any case failed in a way that fails the batch.
  bool failsBatch() const;
  // The exit status of a batch with these totals: 2 when a case failed the
  // batch or the batch was interrupted, otherwise 0.
  int exitStatus() const;
};

BatchTotals totalsOf(const std::vector<CaseResult>& results);

#endif  // SKEDOMAT_BATCH_BATCH_TOTALS_H
