#include "base/number_format.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "base/assertion.h"

// Every finite double is an integer times a power of two, so its decimal
// expansion is finite. The digits are computed exactly with a small big
// integer and then rounded as decimal text, which makes the output the same
// on every platform and lets halfway values round away from zero.

namespace {

const int GeneralPrecision = 6;
const size_t MinExponentDigits = 3;

// A non-negative integer of any size, in 32-bit limbs, least significant
// first. Only what the conversion to decimal needs.
class BigUnsigned {
 public:
  explicit BigUnsigned(uint64_t value) {
    limbs_.push_back(static_cast<uint32_t>(value));
    limbs_.push_back(static_cast<uint32_t>(value >> 32));
    trim();
  }

  void multiply(uint32_t factor) {
    uint64_t carry = 0;
    for (uint32_t& limb : limbs_) {
      uint64_t product = uint64_t{limb} * factor + carry;
      limb = static_cast<uint32_t>(product);
      carry = product >> 32;
    }
    if (carry != 0) limbs_.push_back(static_cast<uint32_t>(carry));
    trim();
  }

  // Multiplies by base^exponent, in steps of `step` = base^k below 2^32.
  void multiplyByPower(uint32_t base, uint32_t step, int stepExponent,
                       int exponent) {
    for (; exponent >= stepExponent; exponent -= stepExponent) multiply(step);
    for (; exponent > 0; --exponent) multiply(base);
  }

  // Divides in place and returns the remainder.
  uint32_t divide(uint32_t divisor) {
    uint64_t remainder = 0;
    for (size_t i = limbs_.size(); i-- > 0;) {
      uint64_t current = (remainder << 32) | limbs_[i];
      limbs_[i] = static_cast<uint32_t>(current / divisor);
      remainder = current % divisor;
    }
    trim();
    return static_cast<uint32_t>(remainder);
  }

  bool isZero() const { return limbs_.empty(); }

  // The decimal digits, without leading zeros ("0" for zero).
  std::string toDecimal() const {
    BigUnsigned rest = *this;
    std::string digits;  // least significant first
    do {
      uint32_t chunk = rest.divide(1000000000);
      for (int i = 0; i < 9; ++i, chunk /= 10)
        digits += static_cast<char>('0' + chunk % 10);
    } while (!rest.isZero());
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    return std::string(digits.rbegin(), digits.rend());
  }

 private:
  void trim() {
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
  }

  std::vector<uint32_t> limbs_;
};

// A non-negative number `digits` * 10^-scale; `digits` has no leading zeros
// except for zero itself. A negative scale stands for trailing zeros.
struct Decimal {
  std::string digits;
  int scale;
};

// The exact decimal value of a finite, non-negative double. With
// value = m * 2^e: for e >= 0 that is the integer m * 2^e, and for e < 0 it is
// m * 5^-e * 10^e.
Decimal exactDecimal(double value) {
  if (value == 0) return Decimal{"0", 0};
  int exponent = 0;
  // value = fraction * 2^exponent, with 0.5 <= fraction < 1
  double fraction = std::frexp(value, &exponent);
  BigUnsigned mantissa(static_cast<uint64_t>(std::ldexp(fraction, 53)));
  int binaryExponent = exponent - 53;
  if (binaryExponent >= 0) {
    mantissa.multiplyByPower(2, 1u << 31, 31, binaryExponent);
    return Decimal{mantissa.toDecimal(), 0};
  }
  mantissa.multiplyByPower(5, 1220703125, 13, -binaryExponent);  // 5^13
  return Decimal{mantissa.toDecimal(), -binaryExponent};
}

// Adds one to a string of decimal digits.
std::string increment(std::string digits) {
  size_t i = digits.size();
  while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
  if (i == 0) return "1" + digits;
  ++digits[i - 1];
  return digits;
}

// Rounds to `scale` decimals. The digits are exact, so the first dropped
// digit alone decides: 5 or more rounds up, which sends halfway values away
// from zero.
Decimal roundToScale(const Decimal& value, int scale) {
  if (value.scale <= scale)
    return Decimal{value.digits + std::string(scale - value.scale, '0'), scale};
  size_t nDropped = static_cast<size_t>(value.scale - scale);
  if (nDropped > value.digits.size()) return Decimal{"0", scale};
  size_t nKept = value.digits.size() - nDropped;
  std::string kept = nKept == 0 ? "0" : value.digits.substr(0, nKept);
  if (value.digits[nKept] >= '5') kept = increment(kept);
  return Decimal{kept, scale};
}

// The decimal exponent of the leading digit of a non-zero value.
int leadingExponent(const Decimal& value) {
  return static_cast<int>(value.digits.size()) - 1 - value.scale;
}

// The digits with the decimal point placed; `value.scale` is not negative.
std::string fixedText(const Decimal& value) {
  std::string digits = value.digits;
  size_t scale = static_cast<size_t>(value.scale);
  if (digits.size() <= scale)
    digits.insert(0, scale + 1 - digits.size(), '0');
  if (scale == 0) return digits;
  return digits.substr(0, digits.size() - scale) + "." +
         digits.substr(digits.size() - scale);
}

// Drops the zeros at the end of a fraction, and the point if nothing remains.
std::string dropTrailingZeros(std::string text) {
  if (text.find('.') == std::string::npos) return text;
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text;
}

// "e", the sign and at least three digits of the exponent.
std::string exponentSuffix(int exponent) {
  std::string digits = intToStr(exponent < 0 ? -exponent : exponent);
  if (digits.size() < MinExponentDigits)
    digits.insert(0, MinExponentDigits - digits.size(), '0');
  return std::string("e") + (exponent < 0 ? "-" : "+") + digits;
}

// "%g" of a finite, non-negative value.
std::string generalText(const Decimal& exact) {
  if (exact.digits == "0") return "0";
  // The exponent is that of the value rounded to the precision; the rounding
  // may carry into a new leading digit (999999.5 becomes 1e+006).
  Decimal rounded =
      roundToScale(exact, GeneralPrecision - 1 - leadingExponent(exact));
  int exponent = leadingExponent(rounded);
  if (exponent >= -4 && exponent < GeneralPrecision)
    return dropTrailingZeros(
        fixedText(roundToScale(exact, GeneralPrecision - 1 - exponent)));
  std::string mantissa = rounded.digits.substr(0, 1) + "." +
                         rounded.digits.substr(1, GeneralPrecision - 1);
  return dropTrailingZeros(mantissa) + exponentSuffix(exponent);
}

// The text of an infinity or a NaN.
std::string nonFiniteText(double value) {
  if (std::isnan(value)) return "nan";
  return value < 0 ? "-inf" : "inf";
}

std::string signText(double value) { return std::signbit(value) ? "-" : ""; }

}  // namespace

std::string formatFixed(double value, int decimals) {
  Assert(decimals >= 0);
  if (!std::isfinite(value)) return nonFiniteText(value);
  Decimal exact = exactDecimal(std::fabs(value));
  return signText(value) + fixedText(roundToScale(exact, decimals));
}

std::string formatGeneral(double value) {
  if (!std::isfinite(value)) return nonFiniteText(value);
  return signText(value) + generalText(exactDecimal(std::fabs(value)));
}

std::string formatQuotient(int64_t numerator, int64_t denominator, int decimals) {
  Assert(denominator > 0);
  Assert(decimals >= 0 && decimals <= 18);
  __extension__ typedef unsigned __int128 Wide;
  const bool negative = numerator < 0;
  // The magnitude, also of the most negative value.
  const uint64_t bits = static_cast<uint64_t>(numerator);
  const Wide magnitude = negative ? Wide(uint64_t(0) - bits) : Wide(bits);
  Wide scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  const Wide scaled = magnitude * scale;
  const Wide divisor = static_cast<uint64_t>(denominator);
  Wide rounded = scaled / divisor;
  if (2 * (scaled % divisor) >= divisor) ++rounded;
  std::string digits;
  for (Wide rest = rounded; rest > 0 || digits.size() <= static_cast<size_t>(decimals);
       rest /= 10)
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(rest % 10)));
  if (decimals > 0) digits.insert(digits.size() - static_cast<size_t>(decimals), ".");
  return (negative && rounded > 0 ? "-" : "") + digits;
}
