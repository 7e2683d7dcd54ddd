#ifndef SKEDOMAT_BATCH_SOLVER_COMMAND_H
#define SKEDOMAT_BATCH_SOLVER_COMMAND_H

#include <string>

// The shell command that solves one case, made from the `--solve` pattern:
// `{in}` stands for the case file, `{out}` for the submission to write and
// `{seed}` for the case's number. What replaces them never comes from a
// file name as the user's files spell it: the batch hands the solver a copy
// of the case and a place for the submission in its own scratch folder,
// whose names hold only letters, digits and `/._-`, and a seed of digits or
// of such characters. So no case name can become part of a command, however
// the pattern quotes the placeholders. A pattern with neither `{in}` nor
// `{out}` reads the case on its standard input and writes the submission on
// its standard output.
struct SolverCommand {
  std::string line;
  bool usesStandardStreams = false;
  bool usesInput = false;  // the pattern names {in}
};

SolverCommand solverCommand(const std::string& pattern, const std::string& inputPath,
                            const std::string& outputPath, const std::string& seed);

// The `{seed}` of a case: a name of decimal digits without its leading
// zeros ("0042" is 42, "0000" is 0), any other name unchanged.
std::string seedOfCase(const std::string& caseName);

// True when `text` may stand in a command as it is: letters, digits and
// `._-` (and `/` for paths; `\` and `:` too on Windows), not starting with
// `-`.
bool isSafeWord(const std::string& text, bool path);

#endif  // SKEDOMAT_BATCH_SOLVER_COMMAND_H
