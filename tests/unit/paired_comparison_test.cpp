#include "statistics/sign_test.h"

#include <gtest/gtest.h>

#include <cmath>

// The expected p-values were computed apart from this code: binomial tails
// as exact fractions of integer binomial coefficients, signed-rank tails by
// enumerating every sign pattern, and the normal approximation by hand with
// exact fractions for the ranks and the tie term.

namespace {

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

}  // namespace
