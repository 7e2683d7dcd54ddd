#include "batch/batch_progress.h"

#include <cstdio>

#include "base/platform.h"

namespace {

std::string secondsText(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f s", seconds);
  return text;
}

}  // namespace

BatchProgress::BatchProgress(size_t nCases)
    : nCases_(nCases), onTerminal_(platform::isTerminal(stderr)),
      start_(Clock::now()) {}

BatchProgress::~BatchProgress() { clear(); }

void BatchProgress::caseEnded(const CaseResult& result) {
  ++nDone_;
  if (result.status != CaseStatus::Ok) ++nFailed_;
  if (onTerminal_) {
    show(statusLine());
    return;
  }
  const std::string score =
      result.scored() ? " " + meanText(result.ticketSum(),
                                       static_cast<int64_t>(result.runs.size()))
                      : "";
  std::fprintf(stderr, "[%s/%s] %s %s%s\n", std::to_string(nDone_).c_str(),
               std::to_string(nCases_).c_str(), result.name.c_str(),
               statusName(result.status), score.c_str());
  std::fflush(stderr);
}

std::string BatchProgress::statusLine() const {
  const double elapsed = std::chrono::duration<double>(Clock::now() - start_).count();
  const double left = elapsed / static_cast<double>(nDone_) *
                      static_cast<double>(nCases_ - nDone_);
  return "Skedomat batch: " + std::to_string(nDone_) + "/" + std::to_string(nCases_) +
         " primerov, " + std::to_string(nFailed_) + " neuspesnih, " +
         secondsText(elapsed) + ", se priblizno " + secondsText(left);
}

void BatchProgress::show(const std::string& line) {
  // Blanks cover what is left of a longer line shown before.
  const size_t padding = shownLength_ > line.size() ? shownLength_ - line.size() : 0;
  std::fprintf(stderr, "\r%s%s", line.c_str(), std::string(padding, ' ').c_str());
  std::fflush(stderr);
  shownLength_ = line.size();
}

void BatchProgress::clear() {
  if (!onTerminal_ || shownLength_ == 0) return;
  std::fprintf(stderr, "\r%s\r", std::string(shownLength_, ' ').c_str());
  std::fflush(stderr);
  shownLength_ = 0;
}
