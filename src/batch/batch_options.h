#ifndef SKEDOMAT_BATCH_BATCH_OPTIONS_H
#define SKEDOMAT_BATCH_BATCH_OPTIONS_H

#include <cstdint>
#include <string>
#include <vector>

// The command line of `batch CASES_DIR SUBMISSIONS_DIR [--runs n] [--jobs N]
// [--reports DIR] [--results FILE.jsonl] [--best FILE.json] [--freeze-best]
// [--compare OLD.jsonl] [--shard K/N] [--html PAGE.html] [--explain DIR]
// [--solve 'COMMAND'] [--time-limit SECONDS]`, or of `batch --merge
// OUT.jsonl IN.jsonl...` or `batch --page PAGE.html RESULTS.jsonl`.
struct BatchOptions {
  std::string casesFolder;
  std::string submissionsFolder;
  int32_t runs = 3;
  int jobs = 0;              // 0: one per hardware thread
  std::string reportsFolder;  // empty: a temporary folder, removed at the end
  std::string resultsPath;    // empty: no results file
  std::string bestPath;       // empty: no best scores
  bool freezeBest = false;    // the best scores are read, never updated
  std::string comparePath;    // empty: no comparison
  // Of the cases sorted by name, the batch runs those whose position i
  // (from 0) has i % shardCount == shardIndex - 1.
  int64_t shardIndex = 1;
  int64_t shardCount = 1;
  // --merge: the results file to write and the shards' files to read.
  std::string mergePath;
  std::vector<std::string> mergeInputs;
  // --html: the summary page of this batch. --page PAGE RESULTS: the page
  // of a results file already written.
  std::string htmlPath;
  std::string pageResultsPath;
  // --explain: the folder of each case's explain page, DIR/NAME.html.
  std::string explainFolder;
  std::string solveCommand;   // empty: the submissions are there already
  double timeLimitSeconds = 0;  // 0: the solver runs as long as it takes
};

// The most evaluations run at once (Windows waits for at most 64 processes).
const int MaxJobs = 64;

// Takes the options from `words`, the arguments after the command word;
// false when they are no valid command line. Counts are plain positive
// decimal numbers; the time limit is one with decimals allowed, and needs a
// solver to limit.
bool parseBatchOptions(const std::vector<std::string>& words, BatchOptions& options);

// How many children run at once: `--jobs`, or one per hardware thread.
int jobsToRun(const BatchOptions& options);

// The usage text of `batch`, and its printing on standard output, which
// returns ExitUsage.
const char* batchUsage();
int batchUsageError();

#endif  // SKEDOMAT_BATCH_BATCH_OPTIONS_H
