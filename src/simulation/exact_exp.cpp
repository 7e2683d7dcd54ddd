#include "simulation/exact_exp.h"

#include <cmath>

// The value is carried as a double-double, an unevaluated sum hi + lo of two
// doubles with |lo| at most half a unit in the last place of hi, which holds
// about 106 bits. Its relative error stays near 2^-100, some 2^-48 units in
// the last place of the result, so the final rounding to one double is the
// correct one unless exp(x) lies almost exactly halfway between two doubles.

namespace {

struct DoubleDouble {
  double hi;
  double lo;
};

// The exact sum of two doubles, as a double-double.
DoubleDouble twoSum(double a, double b) {
  double sum = a + b;
  double bPart = sum - a;
  double error = (a - (sum - bPart)) + (b - bPart);
  return DoubleDouble{sum, error};
}

// twoSum for |a| >= |b|.
DoubleDouble quickTwoSum(double a, double b) {
  double sum = a + b;
  return DoubleDouble{sum, b - (sum - a)};
}

// Splits a into two halves of 26 significant bits each (Dekker), so that
// products of halves are exact.
DoubleDouble split(double a) {
  const double Splitter = 134217729.0;  // 2^27 + 1
  double t = Splitter * a;
  double high = t - (t - a);
  return DoubleDouble{high, a - high};
}

// The exact product of two doubles, as a double-double.
DoubleDouble twoProduct(double a, double b) {
  double product = a * b;
  DoubleDouble aParts = split(a);
  DoubleDouble bParts = split(b);
  double error = ((aParts.hi * bParts.hi - product) + aParts.hi * bParts.lo +
                  aParts.lo * bParts.hi) +
                 aParts.lo * bParts.lo;
  return DoubleDouble{product, error};
}

DoubleDouble add(DoubleDouble a, DoubleDouble b) {
  DoubleDouble high = twoSum(a.hi, b.hi);
  DoubleDouble low = twoSum(a.lo, b.lo);
  high.lo += low.hi;
  high = quickTwoSum(high.hi, high.lo);
  high.lo += low.lo;
  return quickTwoSum(high.hi, high.lo);
}

DoubleDouble negate(DoubleDouble a) { return DoubleDouble{-a.hi, -a.lo}; }

DoubleDouble multiply(DoubleDouble a, DoubleDouble b) {
  DoubleDouble product = twoProduct(a.hi, b.hi);
  product.lo += a.hi * b.lo + a.lo * b.hi;
  return quickTwoSum(product.hi, product.lo);
}

DoubleDouble multiply(DoubleDouble a, double b) {
  DoubleDouble product = twoProduct(a.hi, b);
  product.lo += a.lo * b;
  return quickTwoSum(product.hi, product.lo);
}

// a / b by long division in three quotient digits.
DoubleDouble divide(DoubleDouble a, double b) {
  double q1 = a.hi / b;
  DoubleDouble remainder = add(a, negate(twoProduct(q1, b)));
  double q2 = remainder.hi / b;
  remainder = add(remainder, negate(twoProduct(q2, b)));
  double q3 = remainder.hi / b;
  DoubleDouble quotient = quickTwoSum(q1, q2);
  return add(quotient, DoubleDouble{q3, 0.0});
}

// ln 2 as a double-double: the double nearest to it and the double nearest
// to the rest.
const DoubleDouble Ln2 = {0x1.62e42fefa39efp-1, 0x1.abc9e3b39803fp-56};

// exp(r) for |r| <= ln(2) / 2 by its Taylor series, evaluated from the
// highest term down as 1 + r(1 + r/2(1 + r/3(...))). With 24 terms the
// truncation error is below 2^-109.
DoubleDouble taylorExp(DoubleDouble r) {
  const int Terms = 24;
  const DoubleDouble One = {1.0, 0.0};
  DoubleDouble sum = One;
  for (int k = Terms; k >= 1; --k) {
    sum = add(One, divide(multiply(sum, r), static_cast<double>(k)));
  }
  return sum;
}

}  // namespace

double correctlyRoundedExp(double x) {
  // exp(x) = 2^n exp(r) with r = x - n ln 2 and n the integer nearest to
  // x / ln 2.
  double n = std::floor(x / Ln2.hi + 0.5);
  DoubleDouble r = add(DoubleDouble{x, 0.0}, negate(multiply(Ln2, n)));
  DoubleDouble e = taylorExp(r);
  int exponent = static_cast<int>(n);
  // Scaling by a power of two is exact; the sum then rounds the
  // double-double to the nearest double.
  return std::ldexp(e.hi, exponent) + std::ldexp(e.lo, exponent);
}
