#include "statistics/sign_test.h"

#include <algorithm>
#include <cmath>

// The smaller tail is sum_{i <= k} C(n, i) / 2^n. Up to n = 1000 every
// binomial coefficient fits in a double, so the tail is summed from C(n, 0)
// = 1 upwards and scaled by 2^-n with ldexp; small cases come out exact.
// Beyond that the largest term, C(n, k) / 2^n, is found through log-gamma
// and the smaller ones follow from it by their ratios, which all lie below
// one, so nothing overflows and underflow only loses terms that do not
// matter.

namespace {

const size_t LargestDirectCount = 1000;

double directTail(size_t n, size_t k) {
  double coefficient = 1;  // C(n, i)
  double sum = 1;
  for (size_t i = 0; i < k; ++i) {
    coefficient = coefficient * static_cast<double>(n - i) / static_cast<double>(i + 1);
    sum += coefficient;
  }
  return std::ldexp(sum, -static_cast<int>(n));
}

double logarithmicTail(size_t n, size_t k) {
  const double nn = static_cast<double>(n);
  const double kk = static_cast<double>(k);
  const double logLargest =
      std::lgamma(nn + 1) - std::lgamma(kk + 1) - std::lgamma(nn - kk + 1) - nn * std::log(2.0);
  double term = 1;  // C(n, i) / C(n, k)
  double sum = 1;
  for (size_t i = k; i > 0 && term > 1e-20 * sum; --i) {
    term *= static_cast<double>(i) / static_cast<double>(n - i + 1);
    sum += term;
  }
  return std::exp(logLargest) * sum;
}

}  // namespace

double signTestPValue(size_t better, size_t worse) {
  const size_t n = better + worse;
  if (n == 0) return 1;
  const size_t k = std::min(better, worse);
  const double tail = n <= LargestDirectCount ? directTail(n, k) : logarithmicTail(n, k);
  return std::min(1.0, 2 * tail);
}
