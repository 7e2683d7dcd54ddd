#ifndef SKEDOMAT_BATCH_RESULTS_MERGE_H
#define SKEDOMAT_BATCH_RESULTS_MERGE_H

#include "batch/batch_options.h"

// `batch --merge OUT.jsonl IN.jsonl...`: the shards' cases in one results
// file, sorted by name, with the summary of them all, the same as one
// whole batch would write. Each input is read strictly and each case
// written anew from what was read, so nothing a reader would refuse is
// passed on. A case in two inputs is an error. The table goes to standard
// output. Exit status as a batch's: 2 when a case failed the batch.
int mergeResults(const MergeOptions& options);

#endif  // SKEDOMAT_BATCH_RESULTS_MERGE_H
