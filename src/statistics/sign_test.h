#ifndef SKEDOMAT_STATISTICS_SIGN_TEST_H
#define SKEDOMAT_STATISTICS_SIGN_TEST_H

#include <cstddef>

// The exact two-sided sign test: under the null hypothesis each case that
// changed is as likely better as worse, so the number of better ones is
// binomial with p = 1/2. Ties are left out before the call.

// The probability of a split at least as uneven as `better` against `worse`,
// in either direction: twice the smaller tail, at most 1. It is 1 when no
// case changed. Exact to rounding for any count up to a few hundred
// thousand, and never infinite or NaN.
double signTestPValue(size_t better, size_t worse);

#endif  // SKEDOMAT_STATISTICS_SIGN_TEST_H
