#ifndef SKEDOMAT_STATISTICS_SIGNED_RANK_TEST_H
#define SKEDOMAT_STATISTICS_SIGNED_RANK_TEST_H

#include <cstddef>
#include <vector>

// Wilcoxon's signed-rank test of paired differences, two-sided: whether the
// differences lean to one side of zero more than chance allows. Zero
// differences are left out; the others are ranked by absolute value, tied
// values sharing the mean of their ranks, and W+ is the sum of the ranks of
// the positive ones.
//
// With at most ExactSignedRankLimit differences and no ties, the p-value
// comes from the exact null distribution of W+ (every sign pattern equally
// likely). Otherwise from the normal approximation with mean n(n+1)/4 and
// variance n(n+1)(2n+1)/24 - sum(t^3 - t)/48 over the groups of t tied
// values, and with a continuity correction: |W+ - mean| is reduced by 1/2
// (not below zero) before it is divided by the standard deviation.

const size_t ExactSignedRankLimit = 25;

struct SignedRankResult {
  size_t nonzero = 0;             // differences that were ranked
  double positiveRankSum = 0;     // W+
  bool exact = false;             // from the exact distribution
  double pValue = 1;              // two-sided, at most 1; 1 when none ranked
};

// The differences must be finite. Absolute values that differ by at most `tieTolerance` count as tied, so
// that rounding does not split values equal in exact arithmetic; it groups
// along the sorted values from each group's smallest member.
SignedRankResult signedRankTest(const std::vector<double>& differences, double tieTolerance);

#endif  // SKEDOMAT_STATISTICS_SIGNED_RANK_TEST_H
