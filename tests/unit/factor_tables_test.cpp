#include "simulation/factor_tables.h"

#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

#include "simulation/exact_exp.h"

namespace {

const uint64_t ReferenceTimeFactorBits[TimeDistances] = {
#include "time_factor_bits.inc"
};

uint64_t bitsOf(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

TEST(FactorTablesTest, TimeFactorMatchesTheReferenceBitForBit) {
  buildFactorTables();
  for (int32_t k = 0; k < TimeDistances; ++k)
    EXPECT_EQ(bitsOf(timeFactor[k]), ReferenceTimeFactorBits[k]) << "k = " << k;
}

TEST(FactorTablesTest, TimeFactorFallsFromNearOneThroughOneHalf) {
  buildFactorTables();
  EXPECT_EQ(timeFactor[0], 0.9890130573694068);
  EXPECT_NEAR(timeFactor[0], 0.98901, 5e-6);
  EXPECT_EQ(timeFactor[90], 0.5);
  EXPECT_NEAR(timeFactor[180], 0.010987, 5e-7);
  for (int32_t k = 1; k < TimeDistances; ++k)
    EXPECT_LT(timeFactor[k], timeFactor[k - 1]) << "k = " << k;
  EXPECT_GT(timeFactor[TimeDistances - 1], 0.0);
}

TEST(FactorTablesTest, TablesComeOutTheSameOnEveryBuild) {
  buildFactorTables();
  double firstRecency = recencyFactor[7];
  double firstTime = timeFactor[309];
  recencyFactor[7] = -1;
  timeFactor[309] = -1;
  bitCount16[3] = -1;
  buildFactorTables();
  EXPECT_EQ(bitsOf(recencyFactor[7]), bitsOf(firstRecency));
  EXPECT_EQ(bitsOf(timeFactor[309]), bitsOf(firstTime));
  EXPECT_EQ(bitCount16[3], 2);
}

TEST(FactorTablesTest, ExpIsCorrectlyRounded) {
  // Reference values: the doubles nearest to exp(x), from 60-digit decimal
  // arithmetic.
  EXPECT_EQ(correctlyRoundedExp(0.0), 1.0);
  EXPECT_EQ(correctlyRoundedExp(1.0), 0x1.5bf0a8b145769p+1);
  EXPECT_EQ(correctlyRoundedExp(-1.0), 0x1.78b56362cef38p-2);
  EXPECT_EQ(correctlyRoundedExp(0.5), 0x1.a61298e1e069cp+0);
  EXPECT_EQ(correctlyRoundedExp(-0.25), 0x1.8ebef9eac820bp-1);
  EXPECT_EQ(correctlyRoundedExp(10.0), 0x1.5829dcf950560p+14);
  EXPECT_EQ(correctlyRoundedExp(700.0), 0x1.d945df4f8ec8ep+1009);
  EXPECT_EQ(correctlyRoundedExp(-700.0), 0x1.14f2b0fb9307fp-1010);
  EXPECT_EQ(correctlyRoundedExp(1e-10), 0x1.000000006df38p+0);
  // exp of the double below ln 2 is 2 - 4.6e-17, nearer to 2 than to the
  // double below it.
  EXPECT_EQ(correctlyRoundedExp(0x1.62e42fefa39efp-1), 2.0);
}

TEST(FactorTablesTest, RecencyFactorIsOneMinusPowerBySquaring) {
  buildFactorTables();
  EXPECT_EQ(recencyFactor[0], 0.0);
  EXPECT_EQ(recencyFactor[1], 1.0 - 0.8);
  EXPECT_EQ(recencyFactor[2], 1.0 - 0.8 * 0.8);
  // 0.8^7 as 0.8 * 0.64 * 0.4096, which is one unit in the last place below
  // the product of seven factors 0.8 taken one at a time
  // (1 - 0.8^7 would be 0.7902847999999999).
  EXPECT_EQ(recencyFactor[7], 0.7902847999999998);
  // 0.8^13 as 0.8 * 0.4096 * 0.4096^2.
  EXPECT_EQ(recencyFactor[13], 0.9450244186111999);
  // From 168 days on the power is below half a unit of 1.0.
  EXPECT_LT(recencyFactor[167], 1.0);
  EXPECT_EQ(recencyFactor[168], 1.0);
  EXPECT_EQ(recencyFactor[RecencyDays - 1], 1.0);
  for (int32_t d = 1; d < RecencyDays; ++d)
    EXPECT_LE(recencyFactor[d - 1], recencyFactor[d]) << "d = " << d;
}

TEST(FactorTablesTest, BitCount16CountsTheLow16Bits) {
  buildFactorTables();
  EXPECT_EQ(bitCount16[0], 0);
  EXPECT_EQ(bitCount16[1], 1);
  EXPECT_EQ(bitCount16[0x8000], 1);
  EXPECT_EQ(bitCount16[0xA5A5], 8);
  EXPECT_EQ(bitCount16[0xFFFF], 16);
  // A genre set is counted by its two halves; genre 31 lands on bit 15 of
  // the upper one.
  const uint32_t Genre31 = uint32_t(1) << 31;
  EXPECT_EQ(bitCount16[Genre31 & 0xFFFF] + bitCount16[Genre31 >> 16], 1);
  const uint32_t All = 0xFFFFFFFFU;
  EXPECT_EQ(bitCount16[All & 0xFFFF] + bitCount16[All >> 16], 32);
}

}  // namespace
