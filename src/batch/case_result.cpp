#include "batch/case_result.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

const char* statusName(CaseStatus status) {
  switch (status) {
    case CaseStatus::Ok: return "ok";
    case CaseStatus::Invalid: return "invalid";
    case CaseStatus::CheckFailure: return "check_failure";
    case CaseStatus::UnexpectedError: return "unexpected_error";
    case CaseStatus::NoReport: break;
    case CaseStatus::TimeLimit: return "time_limit";
    case CaseStatus::SolverFailed: return "solver_failed";
  }
  return "no_report";
}

bool statusOfName(const std::string& name, CaseStatus& status) {
  for (CaseStatus candidate : {CaseStatus::Ok, CaseStatus::Invalid, CaseStatus::CheckFailure,
                               CaseStatus::UnexpectedError, CaseStatus::NoReport}) {
    if (name == statusName(candidate)) {
      status = candidate;
      return true;
    }
  }
  return false;
}

int64_t CaseResult::ticketSum() const {
  int64_t sum = 0;
  for (int64_t count : runs) sum += count;
  return sum;
}

double CaseResult::score() const {
  if (!scored()) return 0;
  return static_cast<double>(ticketSum()) / static_cast<double>(runs.size());
}

std::string exactDoubleText(double value) {
  // Whole numbers as integers: "%.3g" would give 3750 as "3.75e+03".
  if (std::fabs(value) < 1e15 && value == std::floor(value))
    return std::to_string(static_cast<int64_t>(value));
  char text[40];
  for (int digits = 1; digits <= 17; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    if (std::strtod(text, nullptr) == value) break;
  }
  return text;
}

std::string meanText(int64_t sum, int64_t count) {
  if (count > 0 && sum % count == 0) return std::to_string(sum / count);
  return exactDoubleText(static_cast<double>(sum) / static_cast<double>(count));
}
