#ifndef SKEDOMAT_BASE_FRACTION_H
#define SKEDOMAT_BASE_FRACTION_H

#include <cstdint>
#include <string>

// A rational number kept exactly while it fits in 64-bit integers, as the
// means of integer counts and their sums and differences are: a score is
// tickets / runs, a sum of scores or a change between two of them a
// fraction too. Should a result not fit (far beyond any real batch), it
// goes on as a double and says so.
class Fraction {
 public:
  Fraction() = default;
  // numerator / denominator; the denominator above 0.
  Fraction(int64_t numerator, int64_t denominator);

  // A value known only as a double (read back from a file).
  static Fraction ofDouble(double value) { return approximate(value); }

  Fraction operator+(const Fraction& other) const;
  Fraction operator-(const Fraction& other) const;
  // Divided by a positive whole number.
  Fraction dividedBy(int64_t divisor) const;

  int sign() const;
  double value() const;

  // With `decimals` decimals, rounded half away from zero from the exact
  // value (from the double once inexact).
  std::string text(int decimals) const;

 private:
  static Fraction approximate(double value);

  int64_t numerator_ = 0;
  int64_t denominator_ = 1;
  bool exact_ = true;
  double approximation_ = 0;
};

#endif  // SKEDOMAT_BASE_FRACTION_H
