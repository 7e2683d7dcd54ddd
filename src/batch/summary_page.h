#ifndef SKEDOMAT_BATCH_SUMMARY_PAGE_H
#define SKEDOMAT_BATCH_SUMMARY_PAGE_H

#include <string>
#include <vector>

#include "batch/batch_totals.h"
#include "batch/case_result.h"

// A batch's results as one self-contained HTML page, in the explain page's
// style: inline CSS and SVG, no script, nothing fetched. The totals; the
// relative score (the score, where no best is known) against each size of
// the cases, every point titled with its case; with a comparison, each
// case's change; the failures with their status and message; and the
// cases, worst first, with their sizes. Everything comes from the
// results, names and messages escaped as on the explain page.
// A case with an explain page links to it, by its path relative to the
// folder of `pagePath`, where the summary is written.
// What the page says beside the results: the file they are compared with
// and where that one came from (the results' own provenance is in the
// totals).
struct PageContext {
  std::string comparedPath;  // empty: no comparison
  Provenance earlier;
};

std::string renderSummaryPage(const std::vector<CaseResult>& results,
                              const BatchTotals& totals, const std::string& pagePath,
                              const PageContext& context = PageContext());

#endif  // SKEDOMAT_BATCH_SUMMARY_PAGE_H
