#ifndef SKEDOMAT_BASE_SCAN_H
#define SKEDOMAT_BASE_SCAN_H

#include <cstdint>
#include <initializer_list>
#include <string>

// Where one converted value of scanText goes: a "%d" or a "%lf" target.
class ScanTarget {
 public:
  ScanTarget(int32_t& value) : intValue_(&value) {}
  ScanTarget(double& value) : doubleValue_(&value) {}

  int32_t* intValue() const { return intValue_; }
  double* doubleValue() const { return doubleValue_; }

 private:
  int32_t* intValue_ = nullptr;
  double* doubleValue_ = nullptr;
};

// Converts the start of `text` by the scanf conventions of `format`, which may
// hold the directives "%d" and "%lf", blanks (matching any run of white space,
// also none) and literal bytes (matching exactly). Every directive stores into
// the next target, which must be of its kind. Returns the count of values
// converted; conversion stops at the first directive that does not match.
// Unlike the C library this is independent of the locale, converts doubles with
// correct rounding, and does not convert an integer outside the 32-bit range.
int scanText(const std::string& text, const char* format,
             std::initializer_list<ScanTarget> targets);

#endif  // SKEDOMAT_BASE_SCAN_H
