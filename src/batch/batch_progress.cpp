#include "batch/batch_progress.h"

#include <cstdio>

#include "base/console_text.h"

namespace {

std::string secondsText(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f s", seconds);
  return text;
}

}  // namespace

BatchProgress::BatchProgress(size_t nCases)
    : nCases_(nCases), start_(Clock::now()) {}

BatchProgress::~BatchProgress() { clear(); }

void BatchProgress::caseEnded(const CaseResult& result) {
  ++nDone_;
  if (!result.scored()) ++nFailed_;
  if (line_.onTerminal()) {
    line_.show(statusLine());
    return;
  }
  const std::string score = result.scored() ? " " + result.exactScore().text(3) : "";
  std::fprintf(stderr, "[%s/%s] %s %s%s\n", std::to_string(nDone_).c_str(),
               std::to_string(nCases_).c_str(), consoleText(result.name).c_str(),
               statusLabel(result.status), score.c_str());
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

void BatchProgress::clear() { line_.clear(); }
