#ifndef SKEDOMAT_BATCH_BATCH_TOTALS_H
#define SKEDOMAT_BATCH_BATCH_TOTALS_H

#include <cstddef>
#include <string>
#include <vector>

#include "batch/case_result.h"
#include "batch/json_writer.h"

// The figures of a whole batch, and the two forms it is shown in: the table
// on standard output and the lines of the results file. Sums and means are
// over the scored cases; the mean of log scores (natural logarithms) over
// those scored above zero only, since a zero has no logarithm: zeros are
// left out of it and counted apart.
struct BatchTotals {
  size_t cases = 0;
  size_t scored = 0;
  size_t failed = 0;     // every case that was not scored
  size_t noReport = 0;   // of the failed, those that got no report
  size_t zeros = 0;      // scored cases whose score is 0
  double scoreSum = 0;
  double scoreMean = 0;   // 0 when none was scored
  double logScoreMean = 0;  // 0 when none scored above zero
  // Over every case, a case without a score counting 0; when a best is known.
  bool relative = false;
  double relativeMean = 0;
  // Against an earlier results file: the cases both scored.
  bool compared = false;
  size_t better = 0;
  size_t worse = 0;
  size_t equal = 0;
  double changeMean = 0;  // 0 when none was compared
  // When the batch ran a solver for each case:
  bool solved = false;
  size_t solverFailures = 0;  // of the failed, those ended by their solver
  std::string slowestSolver;  // the case whose solver took longest
  double slowestSolverSeconds = 0;
};

BatchTotals totalsOf(const std::vector<CaseResult>& results);

// The table of cases (name, score, best and relative score when bests are
// known, change when compared, status and, when solved, the solver's
// seconds), then the totals.
std::string resultTable(const std::vector<CaseResult>& results,
                        const BatchTotals& totals);

// One line of the results file per case, and the summary after them.
JsonObject caseObject(const CaseResult& result);
JsonObject summaryObject(const BatchTotals& totals);

// Seconds as shown and written: three decimals.
std::string secondsText(double seconds);

#endif  // SKEDOMAT_BATCH_BATCH_TOTALS_H
