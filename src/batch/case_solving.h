#ifndef SKEDOMAT_BATCH_CASE_SOLVING_H
#define SKEDOMAT_BATCH_CASE_SOLVING_H

#include <string>
#include <vector>

#include "batch/batch_case.h"
#include "batch/batch_options.h"

// The contestant's solver run for each case before the evaluations, which
// writes the submissions they evaluate. Everything the solver is handed
// lies in the batch's scratch folder under names no shell can misread: a
// copy of the case for {in}, the file for {out} (or its standard output),
// its standard error, whose end each case keeps. Just before a case's own
// solver starts, its old submission is removed (a link there is removed,
// never followed); once every solver has ended, what a solver that exited
// with 0 wrote becomes the submission, whole, streamed into its place,
// unless that place is a file the batch reads (`inUse`).
//
// Each case keeps how its solver ended. A case whose solver ran past the
// limit gets status TimeLimit, one whose solver did not exit with 0
// SolverFailed; only a case whose solver exited with 0 and left a
// submission is evaluated afterwards.
void solveCases(const RunOptions& options, const std::string& scratchFolder,
                const std::vector<std::string>& inUse, std::vector<BatchCase>& cases);

#endif  // SKEDOMAT_BATCH_CASE_SOLVING_H
