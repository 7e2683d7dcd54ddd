#ifndef SKEDOMAT_BATCH_RESULTS_HISTORY_H
#define SKEDOMAT_BATCH_RESULTS_HISTORY_H

#include <string>

#include "batch/provenance.h"

// A folder that keeps every batch's results (`--history DIR`), each under
// the time its batch started, `YYYYMMDD-HHMMSS-NNN.jsonl` (UTC, then a
// count within the second), so that the names sort as the runs came; a contestant compares with the last run
// (`--compare last`) and never rotates files by hand.

// The path the results of a batch that started at `startTime` get in
// `folder`: a name no file there has yet.
std::string historyPathFor(const std::string& folder, const std::string& startTime);

// The newest results file in `folder`; empty when it has none.
std::string newestInHistory(const std::string& folder);

// `batch --history DIR`: the runs kept there, newest first: when, the
// solver's command, the mean score, the mean relative score and the
// failures. A file that cannot be read is listed with why.
int listHistory(const std::string& folder);

#endif  // SKEDOMAT_BATCH_RESULTS_HISTORY_H
