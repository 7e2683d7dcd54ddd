#ifndef SKEDOMAT_SUBMISSION_PROBLEM_SINK_H
#define SKEDOMAT_SUBMISSION_PROBLEM_SINK_H

#include <ostream>

#include "submission/scheduling_problem.h"

// Where validation hands the problems of a schedule, one by one in the
// order it finds them. A sink keeps of them only what its user needs.
class ProblemSink {
 public:
  virtual ~ProblemSink() = default;
  virtual void add(const SchedulingProblem& problem) = 0;
};

// Writes each problem's message to a stream as a line of its own.
class ProblemLineWriter : public ProblemSink {
 public:
  explicit ProblemLineWriter(std::ostream& out) : out_(out) {}
  void add(const SchedulingProblem& problem) override;

 private:
  std::ostream& out_;
};

#endif  // SKEDOMAT_SUBMISSION_PROBLEM_SINK_H
