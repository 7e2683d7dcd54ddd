#include "batch/process_pool.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "base/interrupt_cleanup.h"

namespace {

using Clock = std::chrono::steady_clock;

// The longest wait between two looks at the running jobs, when no time
// limit comes sooner: an interrupt that comes just before a wait is seen
// this late at most. A job's end wakes the pool at once.
const int LongestWaitMilliseconds = 100;

struct RunningJob {
  platform::ChildProcess child;
  size_t index = 0;
  Clock::time_point start;
  bool killed = false;
};

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

bool startJob(const std::string& program, const ProcessJob& job,
              platform::ChildProcess& child) {
  if (!job.shellCommand.empty())
    return platform::startShellCommand(job.shellCommand, job.inputPath, job.outputPath,
                                       job.errorPath, child);
  return platform::startChild(program, job.arguments, job.outputPath, job.errorPath, child);
}

// Whatever a solver left behind in a session of its own ends with it; the
// jobs still running are no such leftovers.
void killLeftovers(const std::vector<RunningJob>& running) {
  std::vector<platform::ChildProcess> children;
  for (const RunningJob& job : running) children.push_back(job.child);
  platform::killAdoptedProcesses(children);
}

// Kills a job with everything it started.
void killJob(const platform::ChildProcess& child) {
  if (child.group != 0)
    platform::endChildGroup(child);
  else
    platform::killChild(child);
}

// Looks at one running job: true when it has ended, with how in `result`;
// kills it when it has run past its limit.
bool pollJob(RunningJob& running, const ProcessJob& job, ProcessEnd& result) {
  if (platform::childHasEnded(running.child, result.end)) {
    result.seconds = secondsSince(running.start);
    if (!running.killed) platform::endChildGroup(running.child);
    result.started = true;
    result.timedOut = running.killed;
    // An interrupt reaches the children too: one that ends meanwhile did
    // not finish its work.
    result.interrupted = interruptRequested();
    return true;
  }
  if (job.timeLimitSeconds > 0 && !running.killed &&
      secondsSince(running.start) > job.timeLimitSeconds) {
    killJob(running.child);
    running.killed = true;
  }
  return false;
}

// Kills every running job and reports it once it has ended.
void stopAll(std::vector<RunningJob>& running, const ProcessEnded& ended) {
  for (RunningJob& job : running)
    if (!job.killed) killJob(job.child);
  for (RunningJob& job : running) {
    ProcessEnd result;
    while (!platform::childHasEnded(job.child, result.end))
      platform::waitForChildEvent({job.child}, LongestWaitMilliseconds);
    result.started = true;
    result.interrupted = true;
    result.seconds = secondsSince(job.start);
    ended(job.index, result);
  }
  running.clear();
  killLeftovers(running);
}

// Starts job `index` after telling `starting`; one that cannot be started
// has ended at once.
void startNext(const std::string& program, const std::vector<ProcessJob>& jobs, size_t index,
               const ProcessStarting& starting, std::vector<RunningJob>& running,
               std::vector<std::pair<size_t, ProcessEnd>>& ends) {
  RunningJob job;
  job.index = index;
  if (starting) starting(index);
  job.start = Clock::now();
  if (startJob(program, jobs[index], job.child))
    running.push_back(job);
  else
    ends.emplace_back(index, ProcessEnd());
}

// Until a job may have ended, a signal comes, or the next time limit is up.
void waitForEvent(const std::vector<RunningJob>& running, const std::vector<ProcessJob>& jobs) {
  double wait = LongestWaitMilliseconds / 1000.0;
  std::vector<platform::ChildProcess> children;
  for (const RunningJob& job : running) {
    children.push_back(job.child);
    const double limit = jobs[job.index].timeLimitSeconds;
    if (limit > 0 && !job.killed) wait = std::min(wait, limit - secondsSince(job.start));
  }
  const int milliseconds = static_cast<int>(std::ceil(std::max(wait, 0.0) * 1000));
  platform::waitForChildEvent(children, std::max(milliseconds, 1));
}

}  // namespace

void runProcesses(const std::string& program, const std::vector<ProcessJob>& jobs,
                  int slots, const ProcessEnded& ended, const ProcessStarting& starting) {
  std::vector<RunningJob> running;
  size_t next = 0;
  platform::adoptOrphans();
  // Jobs that ended are reported only once the free places are filled
  // again, so that what the caller does with an end runs beside the next
  // job instead of before it.
  std::vector<std::pair<size_t, ProcessEnd>> ends;
  for (;;) {
    if (interruptRequested()) {
      for (const auto& end : ends) ended(end.first, end.second);
      return stopAll(running, ended);
    }
    while (next < jobs.size() && running.size() < static_cast<size_t>(slots))
      startNext(program, jobs, next++, starting, running, ends);
    for (const auto& end : ends) ended(end.first, end.second);
    ends.clear();
    if (running.empty()) return;
    waitForEvent(running, jobs);
    bool solverEnded = false;
    for (size_t i = 0; i < running.size();) {
      const bool isSolver = running[i].child.group != 0;
      ProcessEnd result;
      if (pollJob(running[i], jobs[running[i].index], result)) {
        ends.emplace_back(running[i].index, result);
        running.erase(running.begin() + static_cast<std::ptrdiff_t>(i));
        solverEnded = solverEnded || isSolver;
      } else {
        ++i;
      }
    }
    if (solverEnded) killLeftovers(running);
  }
}
