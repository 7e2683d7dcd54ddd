#ifndef SKEDOMAT_BATCH_BATCH_H
#define SKEDOMAT_BATCH_BATCH_H

#include <string>
#include <vector>

// The command `batch CASES_DIR SUBMISSIONS_DIR [--runs n] [--jobs N]
// [--reports DIR] [--results FILE.jsonl]`: evaluates every case file
// CASES_DIR/NAME.txt with the submission SUBMISSIONS_DIR/NAME.txt, each by
// `eval` in a child process of this same program, several at once; reads
// their reports back, shows the scores in a table on standard output and
// writes them, with the totals, to the results file. `arguments` start with
// the program and the command word. Exit status 0 when every case got a
// report, 2 when one did not, when the results file could not be written or
// the batch could not start, 1 for a wrong command line.
int runBatch(const std::vector<std::string>& arguments);

#endif  // SKEDOMAT_BATCH_BATCH_H
