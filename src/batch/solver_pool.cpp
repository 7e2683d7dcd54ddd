#include "batch/solver_pool.h"

#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// How often the running solvers are looked at: the time limit is kept to
// about this much.
const std::chrono::milliseconds PollInterval(5);

struct RunningSolver {
  platform::ChildProcess child;
  size_t index = 0;
  Clock::time_point start;
  bool killed = false;
};

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Starts the job, or reports at once that it could not be started.
void startSolver(const std::vector<SolverJob>& jobs, size_t index,
                 std::vector<RunningSolver>& running, const SolverEnded& ended) {
  const SolverJob& job = jobs[index];
  RunningSolver solver;
  solver.index = index;
  solver.start = Clock::now();
  if (!platform::startShellCommand(job.command, job.inputPath, job.outputPath,
                                   job.errorPath, solver.child)) {
    ended(index, SolverEnd());
    return;
  }
  running.push_back(solver);
}

// Looks at one running solver: true when it has ended and was reported;
// kills it when it has run past the limit.
bool pollSolver(RunningSolver& solver, double timeLimitSeconds, const SolverEnded& ended) {
  SolverEnd result;
  if (platform::childHasEnded(solver.child, result.end)) {
    result.seconds = secondsSince(solver.start);
    if (!solver.killed) platform::endChildGroup(solver.child);
    result.started = true;
    result.timedOut = solver.killed;
    ended(solver.index, result);
    return true;
  }
  if (timeLimitSeconds > 0 && !solver.killed &&
      secondsSince(solver.start) > timeLimitSeconds) {
    platform::endChildGroup(solver.child);
    solver.killed = true;
  }
  return false;
}

}  // namespace

void runSolvers(const std::vector<SolverJob>& jobs, int slots, double timeLimitSeconds,
                const SolverEnded& ended) {
  std::vector<RunningSolver> running;
  size_t next = 0;
  for (;;) {
    while (next < jobs.size() && running.size() < static_cast<size_t>(slots))
      startSolver(jobs, next++, running, ended);
    if (running.empty()) return;
    std::this_thread::sleep_for(PollInterval);
    for (size_t i = 0; i < running.size();) {
      if (pollSolver(running[i], timeLimitSeconds, ended))
        running.erase(running.begin() + static_cast<std::ptrdiff_t>(i));
      else
        ++i;
    }
  }
}
