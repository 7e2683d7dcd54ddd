#ifndef SKEDOMAT_BATCH_SUMMARY_PAGE_H
#define SKEDOMAT_BATCH_SUMMARY_PAGE_H

#include <string>
#include <vector>

#include "batch/batch_totals.h"
#include "batch/case_result.h"

// A batch's results as one self-contained HTML page, in the explain page's
// style: inline CSS and SVG, no script, nothing fetched. With a comparison
// it answers first whether the new version is better: the console's verdict
// line and figures, where both runs came from, and each case's relative
// change as a sorted bar, newly failing cases marked. Then the totals; the
// failures with their reason; the relative score (the score, where no best
// is known) against each size of the cases on labelled axes; the solver's
// times when it ran; and the cases, worst first. Everything comes from the
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
