#ifndef SKEDOMAT_BATCH_CASE_EVALUATION_H
#define SKEDOMAT_BATCH_CASE_EVALUATION_H

#include <string>
#include <vector>

#include "batch/batch_case.h"
#include "batch/batch_options.h"

// The evaluations of a batch: each case with a submission is evaluated by
// this program's `eval` in a child process (`explain --report` when its
// page is wanted), `--jobs` at once. The children write into folders of
// this batch's own, so that no other batch's children can touch what this
// one reads; each report is read back as its child ends, and then moved,
// with its page, into the folders the user keeps them in: a rename, which
// replaces a link planted there instead of following it. A case without a
// submission is not run. Every case gets its features and its status; a
// case without a report gets why in its message: the reader's reason and
// the end of the child's standard error.
struct EvaluationFolders {
  std::string scratch;      // the children's standard error
  std::string reports;      // where the children write their reports
  std::string keptReports;  // where the reports are kept; empty: nowhere
  std::string pages;        // where the children write their pages (--explain)
  std::string keptPages;    // where the pages are kept (--explain)
};

void evaluateCases(const RunOptions& options, const std::string& program,
                   const EvaluationFolders& folders, std::vector<BatchCase>& cases);

// Where a case's report and page are kept, in `folder`.
std::string keptReportPath(const std::string& folder, const std::string& caseName);
std::string keptPagePath(const std::string& folder, const std::string& caseName);

#endif  // SKEDOMAT_BATCH_CASE_EVALUATION_H
