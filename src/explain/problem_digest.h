#ifndef SKEDOMAT_EXPLAIN_PROBLEM_DIGEST_H
#define SKEDOMAT_EXPLAIN_PROBLEM_DIGEST_H

#include <cstddef>
#include <string>
#include <vector>

#include "submission/problem_sink.h"

// What the page of an invalid schedule shows of validation's problems: the
// messages of the first few, how many problems there were, and which
// screenings any of them names. A schedule may have millions of problems;
// the digest holds the messages of the shown ones only.
class ProblemDigest : public ProblemSink {
 public:
  explicit ProblemDigest(size_t maxShown) : maxShown_(maxShown) {}

  void add(const SchedulingProblem& problem) override;

  // The messages of the first problems, at most maxShown of them.
  const std::vector<std::string>& shownTexts() const { return shown_; }
  size_t nProblems() const { return nProblems_; }
  // True when some problem names screening `index`.
  bool names(size_t index) const {
    return index < named_.size() && named_[index];
  }

 private:
  void mark(int32_t index);

  size_t maxShown_;
  std::vector<std::string> shown_;
  size_t nProblems_ = 0;
  std::vector<bool> named_;  // by screening index
};

#endif  // SKEDOMAT_EXPLAIN_PROBLEM_DIGEST_H
