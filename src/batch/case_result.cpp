#include "batch/case_result.h"

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

Fraction CaseResult::change() const {
  return hasChange() ? exactScore() - meanOf(earlier.runs) : Fraction();
}

double CaseResult::relativeChange() const {
  if (!hasChange()) return 0;
  const double old = meanOf(earlier.runs).value();
  return old > 0 ? score() / old - 1 : 0;
}

bool CaseResult::newlyFixed() const {
  return earlier.present && scored() && !traitsOf(earlier.status).carriesScore;
}

bool CaseResult::newlyFailing() const {
  return earlier.present && !scored() && traitsOf(earlier.status).carriesScore;
}
