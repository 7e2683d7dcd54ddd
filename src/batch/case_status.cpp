#include "batch/case_status.h"

const std::vector<CaseStatusTraits>& caseStatuses() {
  // status, name, label, carries a score, the solver's fault, fails the batch
  static const std::vector<CaseStatusTraits> table = {
      {CaseStatus::Ok, "ok", "ok", true, false, false},
      {CaseStatus::Invalid, "invalid", "neveljaven spored", false, false, false},
      {CaseStatus::CheckFailure, "check_failure", "napaka v datoteki", false, false, false},
      {CaseStatus::UnexpectedError, "unexpected_error", "nepricakovana napaka", false, false,
       false},
      {CaseStatus::NoReport, "no_report", "brez porocila", false, false, true},
      {CaseStatus::SolverFailed, "solver_failed", "resevalec ni uspel", false, true, true},
      {CaseStatus::TimeLimit, "time_limit", "cas je potekel", false, true, true}};
  return table;
}

const CaseStatusTraits& traitsOf(CaseStatus status) {
  for (const CaseStatusTraits& traits : caseStatuses())
    if (traits.status == status) return traits;
  return caseStatuses()[static_cast<size_t>(CaseStatus::NoReport)];
}

const char* statusName(CaseStatus status) { return traitsOf(status).name; }

const char* statusLabel(CaseStatus status) { return traitsOf(status).label; }

bool statusOfName(const std::string& name, CaseStatus& status) {
  for (const CaseStatusTraits& traits : caseStatuses()) {
    if (name == traits.name) {
      status = traits.status;
      return true;
    }
  }
  return false;
}
