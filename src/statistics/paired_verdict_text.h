#ifndef SKEDOMAT_STATISTICS_PAIRED_VERDICT_TEXT_H
#define SKEDOMAT_STATISTICS_PAIRED_VERDICT_TEXT_H

#include <string>

#include "statistics/paired_comparison.h"

// The one-line verdict of a paired comparison for the console, in Slovenian
// without diacritics: the verdict, the p-values of both tests to three
// significant digits, the geometric mean ratio and its 95 % interval to four
// decimals, and the counts of better, worse and equal cases. No line end.
// The numbers are rounded by integer arithmetic, half away from zero, so
// the text is the same on every platform.
std::string pairedVerdictText(const PairedStatistics& statistics);

#endif  // SKEDOMAT_STATISTICS_PAIRED_VERDICT_TEXT_H
