#ifndef SKEDOMAT_BASE_NUMBER_FORMAT_H
#define SKEDOMAT_BASE_NUMBER_FORMAT_H

#include <cstdint>
#include <string>

// Exact decimal text of doubles, the same on every platform. A value exactly
// halfway between two outputs rounds away from zero.

// As printf's "%.<decimals>f".
std::string formatFixed(double value, int decimals);

// As printf's "%g": six significant digits, trailing zeros dropped, exponent
// form below 1e-4 and from 1e6 on, with at least three exponent digits.
std::string formatGeneral(double value);

// The quotient `numerator` / `denominator` (above 0) with `decimals`
// decimals (0 .. 18), computed exactly: a mean of integer counts is a
// fraction, and its text is that fraction's, not a double's digits.
// Trailing zeros are kept; no minus sign stands before a zero.
std::string formatQuotient(int64_t numerator, int64_t denominator, int decimals);

#endif  // SKEDOMAT_BASE_NUMBER_FORMAT_H
