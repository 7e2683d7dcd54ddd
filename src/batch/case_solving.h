#ifndef SKEDOMAT_BATCH_CASE_SOLVING_H
#define SKEDOMAT_BATCH_CASE_SOLVING_H

#include <string>
#include <vector>

#include "batch/batch_options.h"
#include "batch/case_result.h"

// The contestant's solver run for each case before the evaluations, which
// writes the submissions they evaluate. Its standard error goes to a
// temporary folder, whose files give each case the end of it; so does the
// standard output of a solver that writes the submission there, which then
// becomes the submission, whole, only when the solver exits with 0. A
// solver that writes the submission itself finds none there: an old one is
// removed before it starts.
struct CaseToSolve {
  std::string casePath;
  std::string submissionPath;
  CaseResult* result = nullptr;
  bool evaluate = false;  // set when the submission is the solver's to judge
};

// Runs the `--solve` command for each case, `--jobs` at a time, and keeps
// in each result how its solver ended. A case whose solver ran past the
// limit gets status TimeLimit, one whose solver did not exit with 0
// SolverFailed; one whose standard output could not become its submission
// keeps NoReport, with one line on standard error. False, with `error`,
// when the temporary folder cannot be made.
bool solveCases(const BatchOptions& options, std::vector<CaseToSolve>& cases,
                std::string& error);

// The end of a solver's standard error as kept: its last lines, at most
// MaxTailLines of them and at most MaxTailBytes bytes.
const size_t MaxTailLines = 20;
const size_t MaxTailBytes = 2048;
std::string tailOf(const std::string& text);

#endif  // SKEDOMAT_BATCH_CASE_SOLVING_H
