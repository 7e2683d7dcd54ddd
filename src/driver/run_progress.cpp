#include "driver/run_progress.h"

#include "base/assertion.h"
#include "base/number_format.h"

namespace {

// The evaluation must have run this long before the line appears, so that
// short evaluations never flicker.
const double QuietSeconds = 1.0;
// The line is rewritten at most this often, however short the runs.
const double RefreshSeconds = 0.25;

double secondsBetween(std::chrono::steady_clock::time_point from,
                      std::chrono::steady_clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

}  // namespace

RunProgress::RunProgress(int32_t nRuns)
    : nRuns_(nRuns),
      evaluationStart_(Clock::now()),
      runsStart_(evaluationStart_) {}

RunProgress::~RunProgress() { clear(); }

void RunProgress::startRuns() { runsStart_ = Clock::now(); }

void RunProgress::runsDone(int32_t nDone) {
  if (!line_.onTerminal() || nDone <= 0) return;
  const Clock::time_point now = Clock::now();
  const double sinceStart = secondsBetween(evaluationStart_, now);
  if (sinceStart < QuietSeconds) return;
  if (line_.shown() && nDone < nRuns_ &&
      secondsBetween(lastShown_, now) < RefreshSeconds)
    return;
  lastShown_ = now;
  const double perRun = secondsBetween(runsStart_, now) / nDone;
  line_.show("Skedomat: " + intToStr(nDone) + "/" + intToStr(nRuns_) +
             " simulacij, " + formatFixed(sinceStart, 1) + " s, se priblizno " +
             formatFixed(perRun * (nRuns_ - nDone), 1) + " s");
}

void RunProgress::clear() { line_.clear(); }
