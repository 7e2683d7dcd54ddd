#include "statistics/sign_test.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "statistics/percentile_bootstrap.h"
#include "statistics/signed_rank_test.h"
#include "statistics/splitmix64.h"

// The expected p-values were computed apart from this code: binomial tails
// as exact fractions of integer binomial coefficients, signed-rank tails by
// enumerating every sign pattern, and the normal approximation by hand with
// exact fractions for the ranks and the tie term.

namespace {

// Differences +-1 .. +-n whose positive ones have the given magnitudes.
std::vector<double> signedRanks(int n, const std::vector<int>& positive) {
  std::vector<double> differences;
  for (int rank = 1; rank <= n; ++rank) differences.push_back(-rank);
  for (int rank : positive) differences[static_cast<size_t>(rank - 1)] = rank;
  return differences;
}

TEST(PairedSignTest, MatchesExactBinomialTails) {
  EXPECT_EQ(2 * std::ldexp(1.0, -12), signTestPValue(0, 12));
  EXPECT_EQ(2 * std::ldexp(1.0, -12), signTestPValue(12, 0));
  EXPECT_EQ(0.109375, signTestPValue(8, 2));
  EXPECT_EQ(1.0, signTestPValue(5, 5));  // the middle term counts in both tails
  EXPECT_EQ(1.0, signTestPValue(0, 0));
  EXPECT_EQ(1.0, signTestPValue(1, 0));
}

TEST(PairedSignTest, StaysAccurateForLargeCounts) {
  // n = 1001 is past the direct sums; n = 100000 would overflow them.
  EXPECT_NEAR(0.20610731083295322, signTestPValue(480, 521), 1e-9 * 0.206);
  EXPECT_NEAR(0.0015823598788515956, signTestPValue(49500, 50500), 1e-8 * 0.00158);
  EXPECT_NEAR(2.588716038346898e-10, signTestPValue(51000, 49000), 1e-8 * 2.59e-10);
  EXPECT_EQ(1.0, signTestPValue(50000, 50000));
  EXPECT_EQ(0.0, signTestPValue(0, 100000));  // 2^-99999 is below every double
}

TEST(PairedSignedRankTest, MatchesTheExactDistributionAtTheTablesCriticalValue) {
  // n = 10: the two-sided 5 % critical value is W = 8.
  SignedRankResult atCritical = signedRankTest(signedRanks(10, {1, 3, 4}), 0);
  EXPECT_TRUE(atCritical.exact);
  EXPECT_EQ(8, atCritical.positiveRankSum);
  EXPECT_EQ(0.048828125, atCritical.pValue);
  EXPECT_EQ(0.064453125, signedRankTest(signedRanks(10, {2, 3, 4}), 0).pValue);
  // The mirror image has W+ = 55 - 8 and the same p-value.
  EXPECT_EQ(0.048828125,
            signedRankTest(signedRanks(10, {2, 5, 6, 7, 8, 9, 10}), 0).pValue);
  EXPECT_EQ(0.00048828125,
            signedRankTest(signedRanks(12, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), 0).pValue);
}

TEST(PairedSignedRankTest, LeavesOutZerosAndSwitchesToTheNormalPastTheExactLimit) {
  std::vector<double> withZeros = signedRanks(10, {1, 3, 4});
  withZeros.push_back(0);
  withZeros.push_back(0);
  SignedRankResult result = signedRankTest(withZeros, 0);
  EXPECT_EQ(10u, result.nonzero);
  EXPECT_EQ(0.048828125, result.pValue);
  EXPECT_TRUE(signedRankTest(signedRanks(25, {1}), 0).exact);
  EXPECT_FALSE(signedRankTest(signedRanks(26, {1}), 0).exact);
  SignedRankResult none = signedRankTest({0, 0}, 0);
  EXPECT_EQ(0u, none.nonzero);
  EXPECT_EQ(1.0, none.pValue);
}

TEST(PairedBootstrap, UsesSplitMix64sPublishedSequence) {
  SplitMix64 random(0);
  EXPECT_EQ(0xE220A8397B1DCDAFu, random.next());
  EXPECT_EQ(0x6E789E6AA1B965F4u, random.next());
  EXPECT_EQ(0x06C45D188009454Fu, random.next());
  SplitMix64 single(7);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(0u, single.below(1));
}

TEST(PairedBootstrap, GivesOneValueItselfAndNothingForNone) {
  const ConfidenceInterval one = bootstrapMeanInterval95({0.1}, 5);
  EXPECT_EQ(0.1, one.low);
  EXPECT_EQ(0.1, one.high);
  const ConfidenceInterval none = bootstrapMeanInterval95({}, 5);
  EXPECT_EQ(0.0, none.low);
  EXPECT_EQ(0.0, none.high);
}

}  // namespace
