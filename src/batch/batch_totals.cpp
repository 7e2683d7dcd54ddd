#include "batch/batch_totals.h"

#include <algorithm>
#include <cmath>

#include "base/exit_status.h"

namespace {

void addScore(const CaseResult& result, double& logSum, size_t& positive,
              BatchTotals& totals) {
  ++totals.byStatus[static_cast<size_t>(result.status)];
  if (!result.scored()) {
    ++totals.failed;
    return;
  }
  ++totals.scored;
  totals.scoreSum = totals.scoreSum + result.exactScore();
  const double score = result.score();
  if (score > 0) {
    logSum += std::log(score);
    ++positive;
  } else {
    ++totals.zeros;
  }
}

void addComparison(const CaseResult& result, double& changeSum,
                   std::vector<PairedCase>& paired, BatchTotals& totals) {
  if (!result.earlier.present) {
    ++totals.onlyNew;
    return;
  }
  totals.compared = true;
  if (result.newlyFailing()) ++totals.newlyFailing;
  if (result.newlyFixed()) ++totals.newlyFixed;
  if (!result.hasChange()) return;
  if (result.runs.size() != result.earlier.runs.size()) ++totals.otherRunCount;
  const int sign = result.change().sign();
  if (sign > 0) ++totals.better;
  if (sign < 0) ++totals.worse;
  if (sign == 0) ++totals.equal;
  changeSum += result.change().value();
  // Run i is seeded alike in every batch, so with other run counts the
  // runs both have are what compares.
  const size_t common = std::min(result.runs.size(), result.earlier.runs.size());
  paired.push_back({std::vector<int64_t>(result.earlier.runs.begin(),
                                         result.earlier.runs.begin() + common),
                    std::vector<int64_t>(result.runs.begin(), result.runs.begin() + common)});
}

void addSolver(const CaseResult& result, BatchTotals& totals) {
  if (!result.solver.ran) return;
  if (traitsOf(result.status).solversFault) ++totals.solverFailures;
  if (!totals.solved || result.solver.seconds > totals.slowestSolverSeconds) {
    totals.slowestSolver = result.name;
    totals.slowestSolverSeconds = result.solver.seconds;
  }
  totals.solved = true;
}

}  // namespace

bool BatchTotals::failsBatch() const {
  for (const CaseStatusTraits& traits : caseStatuses())
    if (traits.failsBatch && count(traits.status) > 0) return true;
  return false;
}

int BatchTotals::exitStatus() const {
  return interrupted || failsBatch() ? ExitNoReport : ExitReportWritten;
}

BatchTotals totalsOf(const std::vector<CaseResult>& results) {
  BatchTotals totals;
  totals.cases = results.size();
  double logSum = 0, relativeSum = 0, changeSum = 0;
  size_t positive = 0;
  std::vector<PairedCase> paired;
  for (const CaseResult& result : results) {
    addScore(result, logSum, positive, totals);
    addComparison(result, changeSum, paired, totals);
    addSolver(result, totals);
    totals.relative = totals.relative || result.hasBest;
    relativeSum += result.relative;
  }
  if (!totals.compared) totals.onlyNew = 0;
  if (totals.cases > 0) {
    totals.scoreMean = totals.scoreSum.dividedBy(static_cast<int64_t>(totals.cases));
    totals.relativeMean = relativeSum / static_cast<double>(totals.cases);
  }
  if (positive > 0) totals.logScoreMean = logSum / static_cast<double>(positive);
  const size_t nChanged = totals.better + totals.worse + totals.equal;
  if (nChanged > 0) totals.changeMean = changeSum / static_cast<double>(nChanged);
  if (totals.compared) totals.paired = comparePaired(paired);
  return totals;
}
