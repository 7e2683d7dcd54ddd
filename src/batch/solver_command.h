#ifndef SKEDOMAT_BATCH_SOLVER_COMMAND_H
#define SKEDOMAT_BATCH_SOLVER_COMMAND_H

#include <string>

// The shell command that solves one case, made from the `--solve` pattern:
// `{in}` stands for the case file, `{out}` for the submission to write and
// `{seed}` for the case's number (its name read as a decimal number, or the
// name itself when it is not one), each as one word of the platform's
// shell. A pattern with neither `{in}` nor `{out}` reads the case on its
// standard input and writes the submission on its standard output.
struct SolverCommand {
  std::string line;
  bool usesStandardStreams = false;
};

SolverCommand solverCommand(const std::string& pattern, const std::string& casePath,
                            const std::string& submissionPath, const std::string& caseName);

// The `{seed}` of a case: a name of decimal digits without its leading
// zeros ("0042" is 42, "0000" is 0), any other name unchanged.
std::string seedOfCase(const std::string& caseName);

#endif  // SKEDOMAT_BATCH_SOLVER_COMMAND_H
