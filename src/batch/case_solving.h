#ifndef SKEDOMAT_BATCH_CASE_SOLVING_H
#define SKEDOMAT_BATCH_CASE_SOLVING_H

#include <string>
#include <vector>

#include "batch/batch_case.h"
#include "batch/batch_options.h"

// The contestant's solver run for each case before the evaluations, which
// writes the submissions they evaluate. Its standard error goes to the
// batch's scratch folder, whose files give each case the end of it; so does
// the standard output of a solver that writes the submission there, which
// then becomes the submission, whole, only when the solver exits with 0.
// A solver that writes the submission itself finds none there: an old one
// is removed before it starts.
//
// Each case keeps how its solver ended. A case whose solver ran past the
// limit gets status TimeLimit, one whose solver did not exit with 0
// SolverFailed; only a case whose solver exited with 0 and left a
// submission is evaluated afterwards.
void solveCases(const RunOptions& options, const std::string& scratchFolder,
                std::vector<BatchCase>& cases);

#endif  // SKEDOMAT_BATCH_CASE_SOLVING_H
