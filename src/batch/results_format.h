#ifndef SKEDOMAT_BATCH_RESULTS_FORMAT_H
#define SKEDOMAT_BATCH_RESULTS_FORMAT_H

#include <string>
#include <vector>

#include "batch/batch_totals.h"
#include "batch/case_result.h"

// The results file of a batch: one JSON object per line, a case per line
// in the order of the batch, then one line {"summary": {...}} with the
// totals. Its writer and its reader live here side by side, on one table
// of keys, so that every field written is read back: `--compare`,
// `--merge` and `--page` work from a results file alone.
//
// The reader is strict: a line is one whole JSON object of a case or the
// summary, with no key it does not know and every number within the range
// the writer can produce (counts are 32-bit, nothing is infinite), and the
// derived fields (score, relative score, change) must agree with the
// counts they come from. Anything else is refused with its line number.

std::string caseLine(const CaseResult& result);
std::string summaryLine(const BatchTotals& totals);

// The whole file: the cases' lines, then the summary.
std::string resultsText(const std::vector<CaseResult>& results, const BatchTotals& totals);

// One line read back; false, with `error`, when it is no such line.
bool readCaseLine(const std::string& line, CaseResult& result, std::string& error);
bool readSummaryLine(const std::string& line, BatchTotals& totals, std::string& error);

struct ResultsFile {
  std::vector<CaseResult> cases;
  bool hasSummary = false;
  BatchTotals summary;  // as the file states it
};

// Reads the text of a results file; false, with `error` naming the line.
bool parseResultsText(const std::string& text, ResultsFile& results, std::string& error);

// Reads the results file at `path`: a regular file of at most
// MaxResultsFileBytes; false, with `error` saying why.
const size_t MaxResultsFileBytes = size_t(1) << 30;
bool readResultsFile(const std::string& path, ResultsFile& results, std::string& error);

#endif  // SKEDOMAT_BATCH_RESULTS_FORMAT_H
