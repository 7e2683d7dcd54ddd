#include "batch/case_result.h"

#include <algorithm>

#include "base/json.h"

Fraction meanOf(const std::vector<int64_t>& runs) {
  if (runs.empty()) return Fraction();
  int64_t sum = 0;
  for (int64_t count : runs) sum += count;
  return Fraction(sum, static_cast<int64_t>(runs.size()));
}

std::string meanText(const std::vector<int64_t>& runs) {
  const Fraction mean = meanOf(runs);
  return exactDoubleText(mean.value());
}

Fraction CaseResult::exactScore() const { return scored() ? meanOf(runs) : Fraction(); }

bool CaseResult::hasChange() const {
  return scored() && earlier.present && traitsOf(earlier.status).carriesScore &&
         !earlier.runs.empty();
}

namespace {

// The first `count` runs.
std::vector<int64_t> firstRuns(const std::vector<int64_t>& runs, size_t count) {
  return std::vector<int64_t>(runs.begin(), runs.begin() + static_cast<std::ptrdiff_t>(count));
}

}  // namespace

Fraction CaseResult::change() const {
  if (!hasChange()) return Fraction();
  const size_t common = std::min(runs.size(), earlier.runs.size());
  return meanOf(firstRuns(runs, common)) - meanOf(firstRuns(earlier.runs, common));
}

double CaseResult::relativeChange() const {
  if (!hasChange()) return 0;
  const size_t common = std::min(runs.size(), earlier.runs.size());
  const double old = meanOf(firstRuns(earlier.runs, common)).value();
  return old > 0 ? meanOf(firstRuns(runs, common)).value() / old - 1 : 0;
}

bool CaseResult::newlyFixed() const {
  return earlier.present && scored() && !traitsOf(earlier.status).carriesScore;
}

bool CaseResult::newlyFailing() const {
  return earlier.present && !scored() && traitsOf(earlier.status).carriesScore;
}
