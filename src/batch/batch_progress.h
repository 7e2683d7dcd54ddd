#ifndef SKEDOMAT_BATCH_BATCH_PROGRESS_H
#define SKEDOMAT_BATCH_BATCH_PROGRESS_H

#include <chrono>
#include <cstddef>
#include <string>

#include "base/status_line.h"
#include "batch/case_result.h"

// How far a batch has come, on standard error. On a terminal one line,
// rewritten as each case ends, shows the cases done of all, the failures,
// the time so far and an estimate of the rest; it is cleared at the end.
// Otherwise (a log, a pipe) one line per case that ends: its place, name,
// status and score.
class BatchProgress {
 public:
  explicit BatchProgress(size_t nCases);
  ~BatchProgress();
  BatchProgress(const BatchProgress&) = delete;
  BatchProgress& operator=(const BatchProgress&) = delete;

  void caseEnded(const CaseResult& result);
  // Takes the line off the terminal.
  void clear();

 private:
  using Clock = std::chrono::steady_clock;

  std::string statusLine() const;

  const size_t nCases_;
  StatusLine line_;
  const Clock::time_point start_;
  size_t nDone_ = 0;
  size_t nFailed_ = 0;
};

#endif  // SKEDOMAT_BATCH_BATCH_PROGRESS_H
