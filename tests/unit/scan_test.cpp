#include "base/scan.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "base/assertion.h"

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kMinSubnormal = std::numeric_limits<double>::denorm_min();
const double kMax = std::numeric_limits<double>::max();
const int32_t kUntouched = -777;
const double kUntouchedDouble = -777.0;

// The count "%d" converts from `text`; the value goes to `value`.
int scanInt(const std::string& text, int32_t& value) {
  value = kUntouched;
  return scanText(text, "%d", {value});
}

// The value "%d" converts from `text`, or kUntouched when it converts nothing.
int32_t intOf(const std::string& text) {
  int32_t value = kUntouched;
  int count = scanText(text, "%d", {value});
  EXPECT_EQ(count == 1, value != kUntouched) << text;
  return value;
}

// The value "%lf" converts from `text`; fails the test when nothing converts.
double doubleOf(const std::string& text) {
  double value = kUntouchedDouble;
  EXPECT_EQ(1, scanText(text, "%lf", {value})) << text;
  return value;
}

// Whether "%lf" converts nothing from `text` and leaves its target untouched.
bool doubleFails(const std::string& text) {
  double value = kUntouchedDouble;
  return scanText(text, "%lf", {value}) == 0 && value == kUntouchedDouble;
}

// The count "%d %d %d" converts from `text`, with the values in `v`.
int scanThree(const std::string& text, int32_t (&v)[3]) {
  v[0] = v[1] = v[2] = kUntouched;
  return scanText(text, "%d %d %d", {v[0], v[1], v[2]});
}

TEST(ScanInt, ConvertsSignedDecimalIntegers) {
  EXPECT_EQ(0, intOf("0"));
  EXPECT_EQ(42, intOf("42"));
  EXPECT_EQ(5, intOf("+5"));
  EXPECT_EQ(-17, intOf("-17"));
  EXPECT_EQ(0, intOf("-0"));
  EXPECT_EQ(12, intOf("000000000000000000012"));
  EXPECT_EQ(-3, intOf("-0003"));
}

TEST(ScanInt, SkipsLeadingWhiteSpaceOfEveryKind) {
  EXPECT_EQ(7, intOf(" \t\n\v\f\r7"));
  EXPECT_EQ(-7, intOf("      -7"));
}

TEST(ScanInt, IgnoresTextAfterTheNumber) {
  EXPECT_EQ(12, intOf("12 word"));
  EXPECT_EQ(12, intOf("12abc"));
  EXPECT_EQ(1, intOf("1.9"));
  EXPECT_EQ(1, intOf("1e5"));
  EXPECT_EQ(0, intOf("0x1F"));
  EXPECT_EQ(3, intOf("3-1"));
}

TEST(ScanInt, FailsWithoutDigits) {
  int32_t value;
  for (const char* text : {"", "   ", "abc", "-", "+", "- 5", "+-5", "--5",
                           ".5", "x1", "\t\r"}) {
    EXPECT_EQ(0, scanInt(text, value)) << text;
    EXPECT_EQ(kUntouched, value) << text;
  }
}

TEST(ScanInt, ConvertsOnlyThe32BitRange) {
  EXPECT_EQ(2147483647, intOf("2147483647"));
  EXPECT_EQ(std::numeric_limits<int32_t>::min(), intOf("-2147483648"));
  EXPECT_EQ(2147483647, intOf("0000000000002147483647"));
  int32_t value;
  for (const char* text : {"2147483648", "-2147483649", "99999999999",
                           "-99999999999", "4294967296",
                           "99999999999999999999999999999999999999"}) {
    EXPECT_EQ(0, scanInt(text, value)) << text;
    EXPECT_EQ(kUntouched, value) << text;
  }
}

TEST(ScanFormat, ThreeIntegersSeparatedByAnyWhiteSpace) {
  int32_t v[3];
  EXPECT_EQ(3, scanThree("3 120 1080", v));
  EXPECT_EQ(3, v[0]);
  EXPECT_EQ(120, v[1]);
  EXPECT_EQ(1080, v[2]);
  EXPECT_EQ(3, scanThree("  3\t120   1080 # comment", v));
  EXPECT_EQ(1080, v[2]);
  EXPECT_EQ(3, scanThree("3-1-2", v));
  EXPECT_EQ(-1, v[1]);
  EXPECT_EQ(-2, v[2]);
  EXPECT_EQ(3, scanThree("1\r\n2\v3", v));
  EXPECT_EQ(3, v[2]);
}

TEST(ScanFormat, CountStopsAtTheFirstFailedConversion) {
  int32_t v[3];
  EXPECT_EQ(0, scanThree("", v));
  EXPECT_EQ(0, scanThree("x 1 2", v));
  EXPECT_EQ(2, scanThree("1 2", v));
  EXPECT_EQ(kUntouched, v[2]);
  EXPECT_EQ(2, scanThree("1 2 x", v));
  EXPECT_EQ(1, scanThree("1 99999999999 5", v));
  EXPECT_EQ(1, v[0]);
  EXPECT_EQ(kUntouched, v[1]);
  EXPECT_EQ(kUntouched, v[2]);

  int32_t a = kUntouched, b = kUntouched;
  EXPECT_EQ(2, scanText("1-2", "%d %d", {a, b}));
  EXPECT_EQ(-2, b);
  EXPECT_EQ(1, scanText("1 -", "%d %d", {a, b}));
}

TEST(ScanFormat, LiteralBytesMatchExactly) {
  int32_t h = kUntouched, m = kUntouched;
  EXPECT_EQ(2, scanText("12:30", "%d:%d", {h, m}));
  EXPECT_EQ(12, h);
  EXPECT_EQ(30, m);
  EXPECT_EQ(2, scanText("07: 5", "%d:%d", {h, m}));
  EXPECT_EQ(5, m);
  EXPECT_EQ(1, scanText("12 :30", "%d:%d", {h, m}));
  EXPECT_EQ(1, scanText("12.30", "%d:%d", {h, m}));
  EXPECT_EQ(1, scanText("12", "%d:%d", {h, m}));
  EXPECT_EQ(0, scanText(":30", "%d:%d", {h, m}));

  int32_t tt = kUntouched;
  EXPECT_EQ(1, scanText("tt5", "tt%d", {tt}));
  EXPECT_EQ(5, tt);
  EXPECT_EQ(1, scanText("tt 0012345abc", "tt%d", {tt}));
  EXPECT_EQ(12345, tt);
  tt = kUntouched;
  for (const char* text : {" tt5", "TT5", "t5", "tt", "", "5", "xtt5"})
    EXPECT_EQ(0, scanText(text, "tt%d", {tt})) << text;
  EXPECT_EQ(kUntouched, tt);
}

TEST(ScanFormat, LiteralBytesAfterTheLastDirectiveAreNotRequired) {
  int32_t value = kUntouched;
  EXPECT_EQ(1, scanText("5", "%d;", {value}));
  EXPECT_EQ(1, scanText("5x", "%d;", {value}));
  EXPECT_EQ(1, scanText("6;", "%d;", {value}));
  EXPECT_EQ(6, value);
}

TEST(ScanFormat, DirectiveWithAWrongTargetIsAProgrammingError) {
  int32_t i = 0;
  double d = 0;
  EXPECT_THROW(scanText("1", "%lf", {i}), EAssertion);
  EXPECT_THROW(scanText("1", "%d", {d}), EAssertion);
  EXPECT_THROW(scanText("1 2", "%d %d", {i}), EAssertion);
  EXPECT_THROW(scanText("1", "%s", {i}), EAssertion);
}

TEST(ScanDouble, ConvertsDecimalForms) {
  EXPECT_EQ(0.0, doubleOf("0"));
  EXPECT_EQ(7.5, doubleOf("7.5"));
  EXPECT_EQ(1.0, doubleOf("1."));
  EXPECT_EQ(0.5, doubleOf(".5"));
  EXPECT_EQ(-0.5, doubleOf("-.5"));
  EXPECT_EQ(-5.0, doubleOf("-.5e1"));
  EXPECT_EQ(100.0, doubleOf("+1E2"));
  EXPECT_EQ(100.0, doubleOf("1e+2"));
  EXPECT_EQ(0.01, doubleOf("1e-2"));
  EXPECT_EQ(1e5, doubleOf("1.e5"));
  EXPECT_EQ(12.5, doubleOf("0000012.5"));
  EXPECT_EQ(8.25, doubleOf(" \t\v8.25"));
  EXPECT_TRUE(std::signbit(doubleOf("-0")));
  EXPECT_TRUE(std::signbit(doubleOf("-0.0e5")));
  EXPECT_FALSE(std::signbit(doubleOf("0e99999999999999999999")));
}

TEST(ScanDouble, TakesTheLongestPrefixThatCanStillBeANumber) {
  EXPECT_EQ(1.5, doubleOf("1.5x"));
  EXPECT_EQ(1.5, doubleOf("1.5.3"));
  EXPECT_EQ(10.0, doubleOf("1e1e1"));
  EXPECT_EQ(0.0, doubleOf("00x1"));
  EXPECT_EQ(2.0, doubleOf("2 3"));
  EXPECT_EQ(3.0, doubleOf("3,5"));
  for (const char* text : {"", "  ", "-", "+", ".", "+.", "-.e5", "e5", "1e",
                           "1e+", "1e-x", "1.5e", "1.5E+", "x", "- 1", "+-1"})
    EXPECT_TRUE(doubleFails(text)) << text;
}

TEST(ScanDouble, RoundsCorrectly) {
  EXPECT_EQ(0.1, doubleOf("0.1"));
  EXPECT_EQ(0x0.fffffffffffffp-1022, doubleOf("2.2250738585072011e-308"));
  EXPECT_EQ(0x1p-1022, doubleOf("2.2250738585072012e-308"));
  // 2^53 + 1 and 2^53 + 3 lie halfway; ties go to the even neighbour.
  EXPECT_EQ(9007199254740992.0, doubleOf("9007199254740993"));
  EXPECT_EQ(9007199254740996.0, doubleOf("9007199254740995"));
  EXPECT_EQ(9007199254740994.0,
            doubleOf("9007199254740993.0000000000000000000000000001"));
  EXPECT_EQ(kMax, doubleOf("1.7976931348623157e308"));
  EXPECT_EQ(kMax, doubleOf("1.7976931348623158e308"));
  EXPECT_EQ(1.0, doubleOf("0." + std::string(1000, '0') + "1e1001"));
  EXPECT_EQ(1e-300, doubleOf("1" + std::string(500, '0') + "e-800"));
}

TEST(ScanDouble, OverflowGivesInfinityAndUnderflowZero) {
  EXPECT_EQ(kInf, doubleOf("1e400"));
  EXPECT_EQ(-kInf, doubleOf("-1e400"));
  EXPECT_EQ(kInf, doubleOf("1.7976931348623159e308"));
  EXPECT_EQ(kInf, doubleOf("1e99999999999999999999"));
  EXPECT_EQ(kInf, doubleOf("1" + std::string(400, '0') + "e-10"));
  EXPECT_EQ(0.0, doubleOf("1e-400"));
  EXPECT_TRUE(std::signbit(doubleOf("-1e-400")));
  EXPECT_EQ(0.0, doubleOf("1e-99999999999999999999"));
  EXPECT_EQ(0.0, doubleOf("0." + std::string(400, '0') + "1e10"));
  EXPECT_EQ(0.0, doubleOf("2.4e-324"));
  EXPECT_EQ(kMinSubnormal, doubleOf("2.5e-324"));
  EXPECT_EQ(kMinSubnormal, doubleOf("4.9e-324"));
}

TEST(ScanDouble, ConvertsHexadecimalForms) {
  EXPECT_EQ(12.0, doubleOf("0x1.8p3"));
  EXPECT_EQ(0.5, doubleOf("0X.8"));
  EXPECT_EQ(-16.0, doubleOf("-0x10"));
  EXPECT_EQ(2748.0, doubleOf("0xAbC"));
  EXPECT_EQ(0.25, doubleOf("0x1P-2"));
  EXPECT_EQ(1.0, doubleOf("0x1.p0"));
  EXPECT_EQ(1.5, doubleOf("0x1.8q"));
  EXPECT_EQ(kMax, doubleOf("0x1.fffffffffffffp1023"));
  // Ties to even in binary, and a tie broken by a far digit.
  EXPECT_EQ(1.0, doubleOf("0x1.00000000000008p0"));
  EXPECT_EQ(1.0 + 0x1p-51, doubleOf("0x1.00000000000018p0"));
  EXPECT_EQ(1.0 + 0x1p-52, doubleOf("0x1.000000000000080001p0"));
  EXPECT_EQ(kInf, doubleOf("0x1p1024"));
  EXPECT_EQ(kInf, doubleOf("0x0.0001p1040"));
  EXPECT_EQ(kMinSubnormal, doubleOf("0x10000p-1090"));
  EXPECT_EQ(0.0, doubleOf("0x1p-1075"));
  EXPECT_EQ(kMinSubnormal, doubleOf("0x1.8p-1075"));
  EXPECT_EQ(0.0, doubleOf("-0x0p99999999999999999999"));
  for (const char* text : {"0x", "0X", "0xg", "0x.", "0x.p1", "-0x", "0x1p",
                           "0x1p-", "0x1P+x"})
    EXPECT_TRUE(doubleFails(text)) << text;
}

TEST(ScanDouble, ConvertsInfinityAndNan) {
  EXPECT_EQ(kInf, doubleOf("inf"));
  EXPECT_EQ(kInf, doubleOf("INF"));
  EXPECT_EQ(kInf, doubleOf("infx"));
  EXPECT_EQ(kInf, doubleOf("+InFiNiTy"));
  EXPECT_EQ(-kInf, doubleOf("-infinity and more"));
  EXPECT_EQ(kInf, doubleOf("infinityx"));
  EXPECT_TRUE(std::isnan(doubleOf("nan")));
  EXPECT_TRUE(std::isnan(doubleOf("NaN")));
  EXPECT_TRUE(std::isnan(doubleOf("nanx")));
  EXPECT_TRUE(std::isnan(doubleOf("nan()")));
  EXPECT_TRUE(std::isnan(doubleOf("nan(12ab_)")));
  EXPECT_TRUE(std::isnan(doubleOf("NAN(XyZ)tail")));
  EXPECT_TRUE(std::signbit(doubleOf("-nan")));
  for (const char* text : {"i", "in", "infin", "infinit", "n", "na", "nan(",
                           "nan(12", "nan(1 2)", "nan(-)", "-in"})
    EXPECT_TRUE(doubleFails(text)) << text;
}

TEST(ScanDouble, MixesWithIntegersInOneFormat) {
  int32_t count = kUntouched;
  double rating = kUntouchedDouble;
  EXPECT_EQ(2, scanText("3 7.25", "%d %lf", {count, rating}));
  EXPECT_EQ(3, count);
  EXPECT_EQ(7.25, rating);
  // The integer stops before the point, and the double takes ".5".
  EXPECT_EQ(2, scanText("3.5 7.25", "%d %lf", {count, rating}));
  EXPECT_EQ(3, count);
  EXPECT_EQ(0.5, rating);
}

// Restores the process's numeric locale when a test ends.
class ScanLocale : public ::testing::Test {
 protected:
  void TearDown() override { std::setlocale(LC_NUMERIC, "C"); }
};

TEST_F(ScanLocale, DecimalSeparatorIsAlwaysThePoint) {
  bool switched = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr ||
                  std::setlocale(LC_NUMERIC, "de_DE") != nullptr;
  EXPECT_EQ(1.5, doubleOf("1.5"));
  EXPECT_EQ(1.0, doubleOf("1,5"));
  EXPECT_EQ(0x1.8p0, doubleOf("0x1.8"));
  EXPECT_TRUE(doubleFails(",5"));
  if (!switched) std::printf("(no German locale here; checked the C locale)\n");
}

}  // namespace
