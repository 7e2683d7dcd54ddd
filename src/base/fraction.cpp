#include "base/fraction.h"

#include <numeric>

#include "base/assertion.h"
#include "base/number_format.h"

namespace {

bool multiply(int64_t a, int64_t b, int64_t& product) {
  return !__builtin_mul_overflow(a, b, &product);
}

bool add(int64_t a, int64_t b, int64_t& sum) { return !__builtin_add_overflow(a, b, &sum); }

}  // namespace

Fraction::Fraction(int64_t numerator, int64_t denominator) {
  Assert(denominator > 0);
  const int64_t divisor = std::gcd(numerator, denominator);
  numerator_ = divisor > 1 ? numerator / divisor : numerator;
  denominator_ = divisor > 1 ? denominator / divisor : denominator;
  approximation_ = static_cast<double>(numerator) / static_cast<double>(denominator);
}

Fraction Fraction::approximate(double value) {
  Fraction fraction;
  fraction.exact_ = false;
  fraction.approximation_ = value;
  return fraction;
}

Fraction Fraction::operator+(const Fraction& other) const {
  // a/b + c/d over the least common denominator.
  const int64_t divisor = std::gcd(denominator_, other.denominator_);
  int64_t denominator = 0, left = 0, right = 0, numerator = 0;
  if (!exact_ || !other.exact_ ||
      !multiply(denominator_ / divisor, other.denominator_, denominator) ||
      !multiply(numerator_, other.denominator_ / divisor, left) ||
      !multiply(other.numerator_, denominator_ / divisor, right) ||
      !add(left, right, numerator))
    return approximate(value() + other.value());
  return Fraction(numerator, denominator);
}

Fraction Fraction::operator-(const Fraction& other) const {
  Fraction negated = other;
  negated.numerator_ = -other.numerator_;
  negated.approximation_ = -other.approximation_;
  if (other.numerator_ == INT64_MIN) negated.exact_ = false;
  return *this + negated;
}

Fraction Fraction::dividedBy(int64_t divisor) const {
  Assert(divisor > 0);
  int64_t denominator = 0;
  if (!exact_ || !multiply(denominator_, divisor, denominator))
    return approximate(value() / static_cast<double>(divisor));
  return Fraction(numerator_, denominator);
}

int Fraction::sign() const {
  if (!exact_) return approximation_ > 0 ? 1 : approximation_ < 0 ? -1 : 0;
  return numerator_ > 0 ? 1 : numerator_ < 0 ? -1 : 0;
}

double Fraction::value() const { return approximation_; }

std::string Fraction::text(int decimals) const {
  if (!exact_) return formatFixed(approximation_, decimals);
  return formatQuotient(numerator_, denominator_, decimals);
}
