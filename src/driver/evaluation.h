#ifndef SKEDOMAT_DRIVER_EVALUATION_H
#define SKEDOMAT_DRIVER_EVALUATION_H

#include <string>
#include <vector>

// Exit statuses of the evaluator.
const int ExitReportWritten = 0;
const int ExitUsage = 1;
const int ExitNoReport = 2;  // the report could not be written, or would
                             // have overwritten an input file

// The whole evaluation of `eval input.txt submission.txt report.txt
// [nSimulacij]`; `arguments` start with the program and the command word.
int runEval(const std::vector<std::string>& arguments);

// Dispatches on the command word; the process's exit status.
int runCommand(const std::vector<std::string>& arguments);

#endif  // SKEDOMAT_DRIVER_EVALUATION_H
