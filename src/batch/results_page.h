#ifndef SKEDOMAT_BATCH_RESULTS_PAGE_H
#define SKEDOMAT_BATCH_RESULTS_PAGE_H

#include "batch/batch_options.h"

// `batch --page PAGE.html RESULTS.jsonl [--compare OLD.jsonl]`: the summary
// page of a results file already written, the same page the batch itself
// would have written with `--html`.
int pageOfResults(const PageOptions& options);

#endif  // SKEDOMAT_BATCH_RESULTS_PAGE_H
