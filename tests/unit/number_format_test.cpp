#include "base/number_format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

// The C library's own output, for values where no halfway rounding happens:
// there its digits are exact, and only the exponent needs three digits.
std::string reference(const char* format, double value, int decimals = 0) {
  std::vector<char> buffer(2000);
  std::snprintf(buffer.data(), buffer.size(), format, decimals, value);
  std::string text = buffer.data();
  size_t e = text.find('e');
  if (e == std::string::npos) return text;
  std::string digits = text.substr(e + 2);
  while (digits.size() < 3) digits.insert(0, "0");
  return text.substr(0, e + 2) + digits;
}

std::string referenceFixed(double value, int decimals) {
  return reference("%.*f", value, decimals);
}

std::string referenceGeneral(double value) {
  return reference("%.*g", value, 6);
}

bool isInteger(double value) { return value == std::floor(value); }

// A value halfway at `decimals` decimals is an odd multiple of
// 10^-decimals / 2, so it turns into an integer when multiplied by
// 2^(decimals + 1). Integers have nothing to round.
bool mayBeFixedTie(double value, int decimals) {
  return !isInteger(value) && isInteger(std::ldexp(value, decimals + 1));
}

// A value halfway at six significant digits, leading digit at 10^x, is an
// odd multiple of 5^(x - 5) * 2^(x - 6). So it turns into an integer when
// multiplied by 2^(6 - x) (the shift used here is at least that even when
// log10 is off by one), and from x = 28 on it cannot be a double at all: its
// 53-bit mantissa would have to be a multiple of 5^23.
bool mayBeGeneralTie(double value) {
  if (std::fabs(value) >= 1e30) return false;
  int shift = 8 - static_cast<int>(std::floor(std::log10(std::fabs(value))));
  return isInteger(std::ldexp(value, shift));
}

// Random finite doubles: every exponent in a quarter of the cases, otherwise
// magnitudes around one where the fraction digits matter most.
double randomDouble(std::mt19937_64& random) {
  uint64_t bits = random();
  if (random() % 4 != 0) {
    uint64_t biasedExponent = 1023 - 40 + random() % 80;
    bits = (bits & 0x800FFFFFFFFFFFFFull) | (biasedExponent << 52);
  }
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return std::isfinite(value) ? value : 1.0 / 3;
}

TEST(NumberFormatFixed, RoundsExactHalvesAwayFromZero) {
  EXPECT_EQ("1", formatFixed(0.5, 0));
  EXPECT_EQ("2", formatFixed(1.5, 0));
  EXPECT_EQ("3", formatFixed(2.5, 0));
  EXPECT_EQ("-1", formatFixed(-0.5, 0));
  EXPECT_EQ("-3", formatFixed(-2.5, 0));
  EXPECT_EQ("100.13", formatFixed(100.125, 2));
  EXPECT_EQ("0.13", formatFixed(0.125, 2));
  EXPECT_EQ("-0.13", formatFixed(-0.125, 2));
  EXPECT_EQ("0.63", formatFixed(0.625, 2));
  EXPECT_EQ("0.9688", formatFixed(0.96875, 4));
}

TEST(NumberFormatFixed, DecidesNearHalvesByTheExactValue) {
  // Just above and just below the halfway value 0.125.
  EXPECT_EQ("0.13", formatFixed(0.125000000000000028, 2));
  EXPECT_EQ("0.12", formatFixed(std::nextafter(0.125, 0.0), 2));
  EXPECT_EQ("2", formatFixed(2.4999999999999996, 0));
  EXPECT_EQ("3", formatFixed(std::nextafter(2.5, 3.0), 0));
  EXPECT_EQ("999999", formatFixed(999999.4999999999, 0));
  // These decimal literals are stored slightly below their written value.
  EXPECT_EQ("1.00", formatFixed(1.005, 2));
  EXPECT_EQ("9.99", formatFixed(9.995, 2));
  EXPECT_EQ("0.3", formatFixed(0.35, 1));
}

TEST(NumberFormatFixed, CarriesIntoTheIntegerPart) {
  EXPECT_EQ("10", formatFixed(9.5, 0));
  EXPECT_EQ("-10", formatFixed(-9.5, 0));
  EXPECT_EQ("100.00", formatFixed(99.996, 2));
  EXPECT_EQ("1000.000", formatFixed(999.9996, 3));
  EXPECT_EQ("1.0", formatFixed(0.96875, 1));
}

TEST(NumberFormatFixed, PadsWithZeros) {
  EXPECT_EQ("0.000", formatFixed(0.0, 3));
  EXPECT_EQ("0", formatFixed(0.0, 0));
  EXPECT_EQ("20.00", formatFixed(20, 2));
  EXPECT_EQ("7", formatFixed(7, 0));
  EXPECT_EQ("0.5000000000", formatFixed(0.5, 10));
  EXPECT_EQ("0.0625", formatFixed(0.0625, 4));
}

TEST(NumberFormatFixed, KeepsTheMinusOfValuesThatRoundToZero) {
  EXPECT_EQ("-0.000", formatFixed(-0.0, 3));
  EXPECT_EQ("-0", formatFixed(-0.0, 0));
  EXPECT_EQ("-0.00", formatFixed(-0.001, 2));
  EXPECT_EQ("-0", formatFixed(-0.4, 0));
}

TEST(NumberFormatFixed, PrintsEveryDigitOfHugeValues) {
  // The exact value of the double nearest to 1e300: 301 digits.
  EXPECT_EQ(
      "1000000000000000052504760255204420248704468581108159154915854115511802"
      "4579889081957863713750804478640437044438328838781769425232353604305756"
      "4479218478670698284838720092657580373783023379478809005936895323497079"
      "9945081119038967640880074652742780142494579258788820056842838115669472"
      "196386865459400540160.00",
      formatFixed(1e300, 2));
  EXPECT_EQ("9223372036854775808", formatFixed(9223372036854775808.0, 0));
  EXPECT_EQ(referenceFixed(DBL_MAX, 0), formatFixed(DBL_MAX, 0));
  EXPECT_EQ(309u, formatFixed(DBL_MAX, 0).size());
  EXPECT_EQ("-" + referenceFixed(DBL_MAX, 3), formatFixed(-DBL_MAX, 3));
}

TEST(NumberFormatFixed, PrintsTinyValuesExactly) {
  const double smallest = 5e-324;  // 2^-1074 = 5^1074 / 10^1074
  EXPECT_EQ("0.00", formatFixed(smallest, 2));
  EXPECT_EQ("-0.00", formatFixed(-smallest, 2));
  std::string all = formatFixed(smallest, 1074);
  EXPECT_EQ(referenceFixed(smallest, 1074), all);
  // 5^1074 has 751 digits, so 323 zeros follow the point; its last digits
  // are 625.
  EXPECT_EQ("0." + std::string(323, '0') + "4940656", all.substr(0, 332));
  EXPECT_EQ("625", all.substr(all.size() - 3));
  EXPECT_EQ(all + "000000", formatFixed(smallest, 1080));
  // One decimal fewer drops exactly a 5: halfway, so the 2 before it goes up.
  EXPECT_EQ(all.substr(0, all.size() - 2) + "3", formatFixed(smallest, 1073));
  EXPECT_EQ(all.substr(0, all.size() - 2), formatFixed(smallest, 1072));
  EXPECT_EQ(referenceFixed(DBL_MIN, 1100), formatFixed(DBL_MIN, 1100));
}

TEST(NumberFormatFixed, PrintsInfinityAndNan) {
  const double infinity = std::numeric_limits<double>::infinity();
  EXPECT_EQ("inf", formatFixed(infinity, 3));
  EXPECT_EQ("-inf", formatFixed(-infinity, 2));
  EXPECT_EQ("nan", formatFixed(std::numeric_limits<double>::quiet_NaN(), 2));
}

TEST(NumberFormatFixed, AgreesWithTheCLibraryAwayFromHalves) {
  std::mt19937_64 random(20240611);
  int nCompared = 0;
  for (int i = 0; i < 20000; ++i) {
    double value = randomDouble(random);
    int decimals = static_cast<int>(random() % 25);
    if (mayBeFixedTie(value, decimals)) continue;
    ASSERT_EQ(referenceFixed(value, decimals), formatFixed(value, decimals))
        << "value " << referenceFixed(value, 1100) << ", decimals " << decimals;
    ++nCompared;
  }
  EXPECT_GT(nCompared, 19000);
}

TEST(NumberFormatGeneral, UsesFixedNotationForExponentsFromMinusFourToFive) {
  EXPECT_EQ("0.5", formatGeneral(0.5));
  EXPECT_EQ("2.5", formatGeneral(2.5));
  EXPECT_EQ("20", formatGeneral(20));
  EXPECT_EQ("1", formatGeneral(1));
  EXPECT_EQ("100.125", formatGeneral(100.125));
  EXPECT_EQ("123456", formatGeneral(123456));
  EXPECT_EQ("100000", formatGeneral(100000));
  EXPECT_EQ("3.14159", formatGeneral(3.14159265));
  EXPECT_EQ("0.0001", formatGeneral(0.0001));
  EXPECT_EQ("0.000123457", formatGeneral(0.000123456789));
  EXPECT_EQ("-8.16497", formatGeneral(-8.16496580927726));
}

TEST(NumberFormatGeneral, UsesExponentFormWithThreeDigitsOtherwise) {
  EXPECT_EQ("1.23457e+006", formatGeneral(1234567));
  EXPECT_EQ("-1.23457e+006", formatGeneral(-1234567));
  EXPECT_EQ("1e+006", formatGeneral(1e6));
  EXPECT_EQ("1.5e+010", formatGeneral(1.5e10));
  EXPECT_EQ("1e-005", formatGeneral(1e-5));
  EXPECT_EQ("1.234e-005", formatGeneral(0.00001234));
  EXPECT_EQ("1e+300", formatGeneral(1e300));
  EXPECT_EQ("1.79769e+308", formatGeneral(DBL_MAX));
  EXPECT_EQ("4.94066e-324", formatGeneral(5e-324));
}

TEST(NumberFormatGeneral, TakesTheExponentAfterRounding) {
  EXPECT_EQ("1e+006", formatGeneral(999999.5));
  EXPECT_EQ("999999", formatGeneral(999999.4999999999));
  EXPECT_EQ("1e+007", formatGeneral(9999995));
  // Stored slightly above 9.999995e-5, so it rounds up to 1e-4.
  EXPECT_EQ("0.0001", formatGeneral(9.999995e-5));
  EXPECT_EQ("9.99999e-005", formatGeneral(9.9999949e-5));
  // Stored slightly below and slightly above the halfway value.
  EXPECT_EQ("99999.9", formatGeneral(99999.95));
  EXPECT_EQ("100000", formatGeneral(99999.95000000001));
}

TEST(NumberFormatGeneral, RoundsExactHalvesAwayFromZero) {
  EXPECT_EQ("100001", formatGeneral(100000.5));
  EXPECT_EQ("-100001", formatGeneral(-100000.5));
  EXPECT_EQ("1.23457e+006", formatGeneral(1234565));
  EXPECT_EQ("1.00001e+006", formatGeneral(1000005));
}

TEST(NumberFormatGeneral, PrintsZeroSignsAndNonFiniteValues) {
  const double infinity = std::numeric_limits<double>::infinity();
  EXPECT_EQ("0", formatGeneral(0.0));
  EXPECT_EQ("-0", formatGeneral(-0.0));
  EXPECT_EQ("inf", formatGeneral(infinity));
  EXPECT_EQ("-inf", formatGeneral(-infinity));
  EXPECT_EQ("nan", formatGeneral(std::numeric_limits<double>::quiet_NaN()));
}

TEST(NumberFormatGeneral, AgreesWithTheCLibraryAwayFromHalves) {
  std::mt19937_64 random(777);
  int nCompared = 0;
  for (int i = 0; i < 20000; ++i) {
    double value = randomDouble(random);
    if (value == 0 || mayBeGeneralTie(value)) continue;
    ASSERT_EQ(referenceGeneral(value), formatGeneral(value))
        << "value " << referenceFixed(value, 1100);
    ++nCompared;
  }
  EXPECT_GT(nCompared, 19000);
}

}  // namespace
