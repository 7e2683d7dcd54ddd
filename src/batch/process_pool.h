#ifndef SKEDOMAT_BATCH_PROCESS_POOL_H
#define SKEDOMAT_BATCH_PROCESS_POOL_H

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "base/process.h"

// Runs a batch's child processes, a given number at a time: evaluations
// (this program with the arguments of one command) and contestants'
// solvers (shell commands, each in a group of its own). A job may have a
// time limit; one still running then is killed, with everything it started.
// So is whatever a solver leaves running when it ends, so that nothing of
// it outlives its turn and writes a submission late. A job that cannot be
// started ends at once, as not started: it costs its own case, never the
// others.
struct ProcessJob {
  // This program with `arguments`, or, when `shellCommand` is not empty,
  // that command through the platform's shell.
  std::vector<std::string> arguments;
  std::string shellCommand;
  std::string inputPath;   // empty: the null device (shell commands only)
  std::string outputPath;  // empty: the null device
  std::string errorPath;   // empty: the null device
  double timeLimitSeconds = 0;  // 0: no limit
};

struct ProcessEnd {
  bool started = false;
  bool timedOut = false;
  bool interrupted = false;  // killed because the batch was interrupted
  platform::ChildEnd end;  // how it ended, when it started
  double seconds = 0;      // wall time from its start to its end
};

using ProcessEnded = std::function<void(size_t index, const ProcessEnd& end)>;
using ProcessStarting = std::function<void(size_t index)>;

// Runs each of `jobs` (this program's own jobs as `program`), at most
// `slots` at once, in order; `starting` (when given) is called just before
// each one starts, `ended` as each one ends, in the order they end. Both
// should be quick: the time limits of the others are kept meanwhile. Once
// an interrupt is requested (see InterruptsDeferred), no job starts any
// more, and every running one is killed, waited for and reported as
// interrupted; jobs that never started are not reported.
void runProcesses(const std::string& program, const std::vector<ProcessJob>& jobs,
                  int slots, const ProcessEnded& ended,
                  const ProcessStarting& starting = ProcessStarting());

#endif  // SKEDOMAT_BATCH_PROCESS_POOL_H
