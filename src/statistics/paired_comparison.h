#ifndef SKEDOMAT_STATISTICS_PAIRED_COMPARISON_H
#define SKEDOMAT_STATISTICS_PAIRED_COMPARISON_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "statistics/percentile_bootstrap.h"

// Whether a new version of a solver beats the old one on the same test
// cases or was only lucky in the simulation. Each case was scored in both
// runs; its score is the mean of its per-run ticket counts. The caller
// leaves out cases that failed in either run and counts them itself.
//
// Every figure is finite, so that it can be written to JSON as it is.

// One case scored in both runs: the per-run ticket counts of each. Counts
// are not negative, and each side's sum fits in an int64_t.
struct PairedCase {
  std::vector<int64_t> oldRuns;
  std::vector<int64_t> newRuns;
};

// How one case changed. The standard error of the change is
// sqrt(s_old^2 / n_old + s_new^2 / n_new) with the sample variances of the
// per-run counts; a side with a single run adds nothing to it.
struct CaseChange {
  int direction = 0;             // +1 new mean higher, -1 lower, 0 equal (exact)
  double standardError = 0;
  // (new mean - old mean) / standardError; 0 when the standard error is 0,
  // which the caller tells apart by standardError, since a change there is
  // beyond any number of standard errors.
  double inStandardErrors = 0;
};

enum class Verdict { Better, Worse, NotDistinguishable };

// The significance level of the verdict.
const double VerdictLevel = 0.05;

struct PairedStatistics {
  // By the exact means, compared as integer fractions. A case with no runs
  // on a side is in none of the figures, and its change is all zeros.
  size_t better = 0;
  size_t worse = 0;
  size_t equal = 0;
  double signTestP = 1;  // exact binomial, better against worse

  // Over the cases scored above zero in both runs, of d = ln(new) - ln(old).
  size_t logRatioCases = 0;
  size_t rankedCases = 0;       // of those, the ones with d != 0
  bool wilcoxonExact = false;   // see signed_rank_test.h for the method
  double wilcoxonP = 1;
  double geometricMeanRatio = 1;  // exp(mean d); 1 when there is no such case
  ConfidenceInterval geometricMeanRatioCi95{1, 1};

  // Over the cases whose old score is above zero, of new / old - 1.
  size_t relativeChangeCases = 0;
  double meanRelativeChange = 0;  // 0 when there is no such case
  ConfidenceInterval meanRelativeChangeCi95{0, 0};

  // Changed cases whose change exceeds two standard errors, or whose
  // standard error is 0.
  size_t beyondTwoStandardErrors = 0;
  std::vector<CaseChange> changes;  // one per case, in input order

  Verdict verdict = Verdict::NotDistinguishable;
};

// The verdict at VerdictLevel. The signed-rank test decides when it sees at
// least half of the changed cases: Better when wilcoxonP < VerdictLevel and
// the geometric mean ratio is above 1, Worse when it is below 1. When most
// changes involve a zero score, which has no logarithm, the sign test
// decides instead, by the side with more cases. Otherwise, and whenever the
// test and the estimate disagree in direction, NotDistinguishable.
PairedStatistics comparePaired(const std::vector<PairedCase>& cases);

#endif  // SKEDOMAT_STATISTICS_PAIRED_COMPARISON_H
