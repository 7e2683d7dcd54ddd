#ifndef SKEDOMAT_EXPLAIN_EXPLAIN_H
#define SKEDOMAT_EXPLAIN_EXPLAIN_H

#include <string>
#include <vector>

#include "driver/evaluation.h"

// The command line of `explain`: the evaluation's and, optionally, the paths
// of the per-screening CSV table and of the text report `eval` would write.
struct ExplainArguments {
  EvaluationArguments evaluation;
  std::string csvPath;         // empty when no table is wanted
  std::string textReportPath;  // empty when no text report is wanted
  std::string summaryPath;     // a batch's summary page to link back to; empty: none
};

// Takes `--csv PATH`, `--report PATH` and `--summary PAGE` from anywhere in `words` (the
// arguments after the command word) and the rest as `eval` takes them, but
// no word after the run count; the reason when they are not a valid command
// line, empty otherwise.
std::string parseExplainArguments(const std::vector<std::string>& words,
                                  ExplainArguments& parsed);

// `explain input.txt submission.txt report.html [nSimulacij] [--csv PATH]
// [--report PATH] [--summary PAGE.html]`:
// evaluates exactly as `eval` does and writes an HTML page of where the
// tickets came from; `arguments` start with the program and the command word.
int runExplain(const std::vector<std::string>& arguments);

// The usage text of `explain`.
const char* explainUsage();

#endif  // SKEDOMAT_EXPLAIN_EXPLAIN_H
