#include "explain/problem_digest.h"

void ProblemDigest::add(const SchedulingProblem& problem) {
  mark(problem.screening);
  mark(problem.otherScreening);
  if (shown_.size() < maxShown_) shown_.push_back(problem.text());
  ++nProblems_;
}

void ProblemDigest::mark(int32_t index) {
  if (index < 0) return;
  const size_t at = static_cast<size_t>(index);
  if (at >= named_.size()) named_.resize(at + 1, false);
  named_[at] = true;
}
