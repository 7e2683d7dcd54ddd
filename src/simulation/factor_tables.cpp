#include "simulation/factor_tables.h"

#include <algorithm>

#include "simulation/exact_exp.h"

double recencyFactor[RecencyDays];
double timeFactor[TimeDistances];
int32_t bitCount16[BitCountEntries];

namespace {

// base^e by square-and-multiply from the lowest exponent bit up. The order
// of the multiplications fixes the last bits of the result, which differ
// from a correctly rounded power for most e.
double powerBySquaring(double base, int32_t e) {
  double product = 1.0;
  while (true) {
    if (e % 2 == 1) product = product * base;
    e = e >> 1;
    if (e == 0) return product;
    base = base * base;
  }
}

// The chance that a viewer is ready for the cinema again d days after the
// last visit.
void buildRecencyFactors() {
  for (int32_t d = 0; d < RecencyDays; ++d)
    recencyFactor[d] = 1.0 - powerBySquaring(0.8, d);
}

// A logistic fall-off with the distance in minutes from the preferred time:
// one half at 90 minutes.
void computeTimeFactors(double* table) {
  for (int32_t k = 0; k < TimeDistances; ++k) {
    double x = static_cast<double>(k - 90) * 0.05;
    table[k] = 1.0 / (correctlyRoundedExp(x) + 1.0);
  }
  // The table that scores were first computed with came from an exp that is
  // one unit in the last place off at three distances; scores depend on
  // those entries, so they are kept.
  table[309] = 1.7557707022617286e-05;
  table[338] = 4.118571744832629e-06;
  table[342] = 3.37200386369078e-06;
}

// The exact exponential costs milliseconds for the whole table, more than a
// small run itself, and its entries depend on nothing; so they are computed
// once per process and copied into the table at every rebuild.
void buildTimeFactors() {
  static double computed[TimeDistances];
  static bool isComputed = false;
  if (!isComputed) {
    computeTimeFactors(computed);
    isComputed = true;
  }
  std::copy(computed, computed + TimeDistances, timeFactor);
}

// Each count is that of the value shifted right by one plus its lowest bit.
void buildBitCounts() {
  bitCount16[0] = 0;
  for (int32_t v = 1; v < BitCountEntries; ++v)
    bitCount16[v] = bitCount16[v >> 1] + (v & 1);
}

}  // namespace

void buildFactorTables() {
  buildRecencyFactors();
  buildTimeFactors();
  buildBitCounts();
}
