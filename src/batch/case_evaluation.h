#ifndef SKEDOMAT_BATCH_CASE_EVALUATION_H
#define SKEDOMAT_BATCH_CASE_EVALUATION_H

#include <string>
#include <vector>

#include "batch/batch_case.h"
#include "batch/batch_options.h"

// The evaluations of a batch: each case with a submission is evaluated by
// this program's `eval` in a child process (`explain --report` when its
// page is wanted), `--jobs` at once; its report, written into
// `reportsFolder`, is read back as the child ends. A case without a
// submission is not run. Every case gets its features and its status;
// a case without a report gets why in its message: the reader's reason,
// and the end of the child's standard error.
void evaluateCases(const RunOptions& options, const std::string& program,
                   const std::string& reportsFolder, const std::string& scratchFolder,
                   std::vector<BatchCase>& cases);

#endif  // SKEDOMAT_BATCH_CASE_EVALUATION_H
