#include "base/assertion.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(IntToStr, PrintsLikePercentD) {
  EXPECT_EQ("0", intToStr(0));
  EXPECT_EQ("7", intToStr(7));
  EXPECT_EQ("-1", intToStr(-1));
  EXPECT_EQ("1440", intToStr(1440));
  EXPECT_EQ("2147483647", intToStr(INT32_MAX));
  EXPECT_EQ("-2147483648", intToStr(INT32_MIN));
  EXPECT_EQ("-9223372036854775808", intToStr(INT64_MIN));
}

const int checkLine = __LINE__ + 2;
int checkedSeats(int nSeats) {
  Assert(nSeats > 0);
  return nSeats;
}

TEST(AssertMacro, PassesValuesThatHold) { EXPECT_EQ(3, checkedSeats(3)); }

TEST(AssertMacro, CarriesTheConditionAsWrittenAndItsPosition) {
  try {
    checkedSeats(0);
    FAIL() << "no exception";
  } catch (const EAssertion& failure) {
    EXPECT_EQ("Assertion failure (nSeats > 0)", failure.message);
    EXPECT_EQ("tests/unit/assertion_test.cpp", failure.file);
    EXPECT_EQ(checkLine, failure.line);
  }
}

TEST(AssertMacro, KeepsQuotesOfTheConditionText) {
  std::string s = "tavo";
  try {
    Assert(s == "Tavo");
    FAIL() << "no exception";
  } catch (const EAssertion& failure) {
    EXPECT_EQ("Assertion failure (s == \"Tavo\")", failure.message);
  }
}

}  // namespace
