#ifndef SKEDOMAT_BATCH_RESULTS_COMPARISON_H
#define SKEDOMAT_BATCH_RESULTS_COMPARISON_H

#include <vector>

#include "batch/case_result.h"
#include "batch/results_format.h"

// Pairs each case with the case of the same name in an earlier results
// file, so that its earlier status and counts stand beside its own. Cases
// are found by name in a sorted index, so a comparison of any size costs
// little. When the two runs do not cover the same cases, or a case was run
// with another run count, one warning line on standard error says so: only
// what both have is compared.
void compareWith(const ResultsFile& earlier, std::vector<CaseResult>& results);

#endif  // SKEDOMAT_BATCH_RESULTS_COMPARISON_H
