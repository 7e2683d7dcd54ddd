#ifndef SKEDOMAT_BATCH_SOLVER_POOL_H
#define SKEDOMAT_BATCH_SOLVER_POOL_H

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "base/process.h"

// Runs contestants' solvers: shell commands, a given number at a time, each
// in a group of its own with its standard streams on files. A solver still
// running at the time limit is killed with everything it started; so is
// whatever a solver leaves running when it ends, so that nothing of it
// outlives its turn and writes a submission late.
struct SolverJob {
  std::string command;
  std::string inputPath;   // empty: the null device
  std::string outputPath;  // empty: the null device
  std::string errorPath;   // empty: the null device
};

struct SolverEnd {
  bool started = false;
  bool timedOut = false;
  platform::ChildEnd end;  // how it ended, when it started
  double seconds = 0;      // wall time from its start to its end
};

using SolverEnded = std::function<void(size_t index, const SolverEnd& end)>;

// Runs each of `jobs`, at most `slots` at once, in order, each for at most
// `timeLimitSeconds` (0: no limit); `ended` is called as each one ends.
void runSolvers(const std::vector<SolverJob>& jobs, int slots, double timeLimitSeconds,
                const SolverEnded& ended);

#endif  // SKEDOMAT_BATCH_SOLVER_POOL_H
