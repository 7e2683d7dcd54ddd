#ifndef SKEDOMAT_BATCH_RESULTS_FILE_H
#define SKEDOMAT_BATCH_RESULTS_FILE_H

#include <string>
#include <vector>

#include "batch/case_result.h"

// A results file read back: the cases of an earlier batch, to compare a new
// one with or to merge shards. Each case keeps the line it was written as,
// so that merged files carry every field of it unchanged; the summary line
// is left out.
struct ResultsFile {
  std::vector<CaseResult> cases;
  std::vector<std::string> lines;  // the case lines, as in the file
};

// Reads the results file at `path`; false, with `error` naming the line,
// when it cannot be read or holds no such lines.
bool readResultsFile(const std::string& path, ResultsFile& results, std::string& error);

#endif  // SKEDOMAT_BATCH_RESULTS_FILE_H
