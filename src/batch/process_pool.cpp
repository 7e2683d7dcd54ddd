#include "batch/process_pool.h"

#include <chrono>
#include <thread>

#include "base/interrupt_cleanup.h"

namespace {

using Clock = std::chrono::steady_clock;

// How often the running jobs are looked at: the time limit is kept to
// about this much, and a case's end is seen this much late at most.
const std::chrono::milliseconds PollInterval(1);

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

// Looks at one running job: true when it has ended and was reported;
// kills it when it has run past its limit.
bool pollJob(RunningJob& running, const ProcessJob& job, const ProcessEnded& ended) {
  ProcessEnd result;
  if (platform::childHasEnded(running.child, result.end)) {
    result.seconds = secondsSince(running.start);
    if (!running.killed) platform::endChildGroup(running.child);
    result.started = true;
    result.timedOut = running.killed;
    // An interrupt reaches the children too: one that ends meanwhile did
    // not finish its work.
    result.interrupted = interruptRequested();
    ended(running.index, result);
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
      std::this_thread::sleep_for(PollInterval);
    result.started = true;
    result.interrupted = true;
    result.seconds = secondsSince(job.start);
    ended(job.index, result);
  }
  running.clear();
  killLeftovers(running);
}

}  // namespace

void runProcesses(const std::string& program, const std::vector<ProcessJob>& jobs,
                  int slots, const ProcessEnded& ended, const ProcessStarting& starting) {
  std::vector<RunningJob> running;
  size_t next = 0;
  platform::adoptOrphans();
  for (;;) {
    if (interruptRequested()) return stopAll(running, ended);
    while (next < jobs.size() && running.size() < static_cast<size_t>(slots)) {
      RunningJob job;
      job.index = next++;
      if (starting) starting(job.index);
      job.start = Clock::now();
      if (startJob(program, jobs[job.index], job.child))
        running.push_back(job);
      else
        ended(job.index, ProcessEnd());
    }
    if (running.empty()) return;
    std::this_thread::sleep_for(PollInterval);
    bool solverEnded = false;
    for (size_t i = 0; i < running.size();) {
      const bool isSolver = running[i].child.group != 0;
      if (pollJob(running[i], jobs[running[i].index], ended)) {
        running.erase(running.begin() + static_cast<std::ptrdiff_t>(i));
        solverEnded = solverEnded || isSolver;
      } else {
        ++i;
      }
    }
    if (solverEnded) killLeftovers(running);
  }
}
