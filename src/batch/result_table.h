#ifndef SKEDOMAT_BATCH_RESULT_TABLE_H
#define SKEDOMAT_BATCH_RESULT_TABLE_H

#include <string>
#include <vector>

#include "batch/batch_totals.h"
#include "batch/case_result.h"

// A batch's results as a person reads them on standard output: one row per
// case (name, score, best and relative score when bests are known, the
// change when compared, the status, the solver's seconds when solved), then
// the totals. Numbers are right-aligned; scores, means and changes have
// three decimals, relative scores four, each rounded half away from zero
// from the exact value. Names have their control bytes escaped and are cut
// to a bounded width.
std::string resultTable(const std::vector<CaseResult>& results, const BatchTotals& totals);

// Writes the table on standard output; false, with one line on standard
// error, when it did not get there whole (a full disk, a closed pipe).
bool printTable(const std::vector<CaseResult>& results, const BatchTotals& totals);

#endif  // SKEDOMAT_BATCH_RESULT_TABLE_H
