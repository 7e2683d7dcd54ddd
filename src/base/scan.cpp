#include "base/scan.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <system_error>

#include "base/assertion.h"

namespace {

// White space as the C locale's isspace sees it: blank, \t, \n, \v, \f, \r.
bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

char toLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool isHexDigit(char c) {
  return isDigit(c) || (toLower(c) >= 'a' && toLower(c) <= 'f');
}

// Letters, digits and underscore: what may stand between the parentheses of
// "nan(...)".
bool isNanChar(char c) {
  return isDigit(c) || (toLower(c) >= 'a' && toLower(c) <= 'z') || c == '_';
}

// A read position in the scanned text. Items are taken greedily, byte by byte,
// as long as the bytes taken can still begin a number; this is the longest
// prefix rule of scanf, and it means an item never gives a byte back.
class Cursor {
 public:
  explicit Cursor(const std::string& text)
      : pos_(text.data()), end_(text.data() + text.size()) {}

  const char* position() const { return pos_; }
  char peek() const { return pos_ < end_ ? *pos_ : '\0'; }
  char peekAfterNext() const { return pos_ + 1 < end_ ? pos_[1] : '\0'; }
  void advance() { ++pos_; }

  // Takes the next byte when it equals `c`, ignoring letter case.
  bool acceptNoCase(char c) {
    if (pos_ == end_ || toLower(*pos_) != c) return false;
    ++pos_;
    return true;
  }

  // Takes the next byte when it is '+' or '-'; returns whether it was '-'.
  bool acceptSign() {
    char c = peek();
    if (c == '+' || c == '-') advance();
    return c == '-';
  }

  // Takes as many bytes of the lower-case `word` as follow, ignoring case;
  // returns their count.
  size_t acceptWordPrefix(const char* word) {
    size_t count = 0;
    while (word[count] != '\0' && acceptNoCase(word[count])) ++count;
    return count;
  }

  void skipSpace() {
    while (pos_ < end_ && isSpace(*pos_)) ++pos_;
  }

 private:
  const char* pos_;
  const char* end_;
};

// Accumulated digits stop growing at this value: it lies far beyond the 32-bit
// range and any exponent that matters, and far below 64-bit overflow.
const int64_t kSaturation = int64_t(1) << 50;

// `value` with the decimal `digit` appended, saturating at kSaturation.
int64_t appendDigit(int64_t value, int digit) {
  return value >= kSaturation ? value : value * 10 + digit;
}

bool scanInt(Cursor& in, int32_t& value) {
  in.skipSpace();
  bool negative = in.acceptSign();
  if (!isDigit(in.peek())) return false;
  int64_t magnitude = 0;
  for (; isDigit(in.peek()); in.advance())
    magnitude = appendDigit(magnitude, in.peek() - '0');
  int64_t result = negative ? -magnitude : magnitude;
  if (result < std::numeric_limits<int32_t>::min() ||
      result > std::numeric_limits<int32_t>::max())
    return false;
  value = int32_t(result);
  return true;
}

// Where the digits of a floating-point number stand in the text, and the power
// (of 10 for decimal, of 16 for hexadecimal digits) that its leading nonzero
// digit carries before the exponent is applied.
struct Significand {
  const char* begin = nullptr;
  bool hasDigits = false;
  bool isZero = true;
  int64_t leadingPower = 0;
};

// Takes digits with an optional point; fails when no digit was taken.
bool scanSignificand(Cursor& in, bool hex, Significand& significand) {
  significand.begin = in.position();
  bool afterPoint = false;
  int64_t integerDigits = 0;  // integer digits from the leading nonzero one on
  int64_t fractionZeros = 0;  // fraction digits before the leading nonzero one
  for (;; in.advance()) {
    char c = in.peek();
    if (c == '.' && !afterPoint) {
      afterPoint = true;
      continue;
    }
    if (!(hex ? isHexDigit(c) : isDigit(c))) break;
    significand.hasDigits = true;
    if (c != '0') significand.isZero = false;
    if (significand.isZero)
      fractionZeros += afterPoint ? 1 : 0;
    else
      integerDigits += afterPoint ? 0 : 1;
  }
  significand.leadingPower =
      integerDigits > 0 ? integerDigits - 1 : -(fractionZeros + 1);
  return significand.hasDigits;
}

// Takes an optional exponent: `marker`, an optional sign and decimal digits.
// Fails when the marker is there but no digit follows it.
bool scanExponent(Cursor& in, char marker, int64_t& exponent) {
  exponent = 0;
  if (!in.acceptNoCase(marker)) return true;
  bool negative = in.acceptSign();
  if (!isDigit(in.peek())) return false;
  for (; isDigit(in.peek()); in.advance())
    exponent = appendDigit(exponent, in.peek() - '0');
  if (negative) exponent = -exponent;
  return true;
}

// Converts the matched text [begin, end) with correct rounding. When the value
// lies beyond the range of double, from_chars leaves it untouched; then the
// result is infinity or zero, as the magnitude of the leading digit says.
double convert(const char* begin, const char* end, std::chars_format format,
               int64_t leadingExponent) {
  double value = 0;
  std::from_chars_result result = std::from_chars(begin, end, value, format);
  Assert(result.ptr == end);
  if (result.ec == std::errc::result_out_of_range)
    return leadingExponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  return value;
}

// A decimal or, after "0x", a hexadecimal number, without its sign.
bool scanFiniteNumber(Cursor& in, double& value) {
  bool hex = in.peek() == '0' && toLower(in.peekAfterNext()) == 'x';
  if (hex) {
    in.advance();
    in.advance();
  }
  Significand significand;
  int64_t exponent = 0;
  if (!scanSignificand(in, hex, significand) ||
      !scanExponent(in, hex ? 'p' : 'e', exponent))
    return false;
  if (significand.isZero) {
    value = 0;
    return true;
  }
  int64_t bitsPerDigit = hex ? 4 : 1;
  value = convert(significand.begin, in.position(),
                  hex ? std::chars_format::hex : std::chars_format::general,
                  significand.leadingPower * bitsPerDigit + exponent);
  return true;
}

// "inf" or "infinity", without its sign; a partial "infinity" fails.
bool scanInfinity(Cursor& in, double& value) {
  if (in.acceptWordPrefix("inf") != 3) return false;
  size_t rest = in.acceptWordPrefix("inity");
  if (rest != 0 && rest != 5) return false;
  value = std::numeric_limits<double>::infinity();
  return true;
}

// "nan" or "nan(chars)", without its sign.
bool scanNan(Cursor& in, double& value) {
  if (in.acceptWordPrefix("nan") != 3) return false;
  if (in.acceptNoCase('(')) {
    while (isNanChar(in.peek())) in.advance();
    if (!in.acceptNoCase(')')) return false;
  }
  value = std::numeric_limits<double>::quiet_NaN();
  return true;
}

bool scanDouble(Cursor& in, double& value) {
  in.skipSpace();
  bool negative = in.acceptSign();
  char first = toLower(in.peek());
  double magnitude = 0;
  bool ok = first == 'i'   ? scanInfinity(in, magnitude)
            : first == 'n' ? scanNan(in, magnitude)
                           : scanFiniteNumber(in, magnitude);
  if (!ok) return false;
  value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace

int scanText(const std::string& text, const char* format,
             std::initializer_list<ScanTarget> targets) {
  Cursor in(text);
  const ScanTarget* target = targets.begin();
  int converted = 0;
  for (const char* f = format; *f != '\0'; ++f) {
    if (isSpace(*f)) {
      in.skipSpace();
    } else if (std::strncmp(f, "%d", 2) == 0) {
      Assert(target != targets.end() && target->intValue() != nullptr);
      if (!scanInt(in, *(target++)->intValue())) break;
      ++converted;
      f += 1;
    } else if (std::strncmp(f, "%lf", 3) == 0) {
      Assert(target != targets.end() && target->doubleValue() != nullptr);
      if (!scanDouble(in, *(target++)->doubleValue())) break;
      ++converted;
      f += 2;
    } else {
      Assert(*f != '%');
      if (in.peek() != *f) break;
      in.advance();
    }
  }
  return converted;
}
