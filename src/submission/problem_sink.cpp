#include "submission/problem_sink.h"

void ProblemLineWriter::add(const SchedulingProblem& problem) {
  problem.writeTo(out_);
  out_ << '\n';
}
