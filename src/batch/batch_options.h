#ifndef SKEDOMAT_BATCH_BATCH_OPTIONS_H
#define SKEDOMAT_BATCH_BATCH_OPTIONS_H

#include <cstdint>
#include <string>
#include <vector>

// The command lines of the batch command's three modes, each with options
// of its own:
//   batch CASES_DIR SUBMISSIONS_DIR [--runs n] [--jobs N] [--reports DIR]
//         [--results FILE.jsonl] [--best FILE.json] [--freeze-best]
//         [--compare OLD.jsonl] [--shard K/N] [--html PAGE.html]
//         [--explain DIR] [--solve 'COMMAND'] [--time-limit SECONDS]
//         [--history DIR]
//   batch --history DIR
//   batch --merge OUT.jsonl IN.jsonl...
//   batch --page PAGE.html RESULTS.jsonl [--compare OLD.jsonl]
// Each parser takes the words after the mode's own word and returns the
// one-line reason why they are no valid command line, or nothing.

struct RunOptions {
  std::string casesFolder;
  std::string submissionsFolder;
  int32_t runs = 3;
  int jobs = 0;               // 0: one per hardware thread
  std::string reportsFolder;  // empty: a temporary folder, removed at the end
  std::string resultsPath;    // empty: no results file
  std::string bestPath;       // empty: no best scores
  bool freezeBest = false;    // the best scores are read, never updated
  std::string comparePath;    // empty: no comparison; "last": the newest
                              // results in the history
  std::string historyFolder;  // empty: no history kept
  // Of the cases sorted by name, the batch runs those whose position i
  // (from 0) has i % shardCount == shardIndex - 1.
  int64_t shardIndex = 1;
  int64_t shardCount = 1;
  std::string htmlPath;       // empty: no summary page
  std::string explainFolder;  // empty: no explain pages
  std::string solveCommand;   // empty: the submissions are there already
  double timeLimitSeconds = 0;  // 0: the solver runs as long as it takes
};

struct MergeOptions {
  std::string outputPath;
  std::vector<std::string> inputPaths;
};

struct PageOptions {
  std::string pagePath;
  std::string resultsPath;
  std::string comparePath;  // empty: no comparison
};

// The word of `--compare` that stands for the newest run of the history.
const char CompareWithLast[] = "last";

// The most evaluations run at once (Windows waits for at most 64 processes).
const int MaxJobs = 64;

std::string parseRunOptions(const std::vector<std::string>& words, RunOptions& options);
std::string parseMergeOptions(const std::vector<std::string>& words, MergeOptions& options);
std::string parsePageOptions(const std::vector<std::string>& words, PageOptions& options);

// How many children run at once: `--jobs`, or one per hardware thread.
int jobsToRun(const RunOptions& options);

// The usage text of `batch`.
const char* batchUsage();

#endif  // SKEDOMAT_BATCH_BATCH_OPTIONS_H
