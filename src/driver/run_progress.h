#ifndef SKEDOMAT_DRIVER_RUN_PROGRESS_H
#define SKEDOMAT_DRIVER_RUN_PROGRESS_H

#include <chrono>
#include <cstdint>

#include "base/status_line.h"

// How far a long evaluation has come, for someone watching a terminal: once
// the evaluation has taken more than a second, one line on standard error,
// rewritten a few times a second as runs end, shows the runs done of all,
// the time so far and an estimate of the rest; it is cleared when the runs
// end. When standard error is no terminal nothing is ever written, so that
// logs and graders see no difference.
class RunProgress {
 public:
  explicit RunProgress(int32_t nRuns);
  ~RunProgress();
  RunProgress(const RunProgress&) = delete;
  RunProgress& operator=(const RunProgress&) = delete;

  // The runs begin now.
  void startRuns();
  // `nDone` runs have ended.
  void runsDone(int32_t nDone);
  // Takes the line off the terminal.
  void clear();

 private:
  using Clock = std::chrono::steady_clock;

  const int32_t nRuns_;
  StatusLine line_;
  const Clock::time_point evaluationStart_;
  Clock::time_point runsStart_;
  Clock::time_point lastShown_;
};

#endif  // SKEDOMAT_DRIVER_RUN_PROGRESS_H
