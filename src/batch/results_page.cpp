#include "batch/results_page.h"

#include "base/exit_status.h"
#include "base/output_set.h"
#include "base/command_options.h"
#include "batch/batch_failure.h"
#include "batch/results_comparison.h"
#include "batch/results_format.h"
#include "batch/summary_page.h"

namespace {

ResultsFile readResults(const std::string& path, const char* what) {
  ResultsFile results;
  std::string error;
  if (!readResultsFile(path, results, error))
    failBatch(std::string(what) + " " + quotedWord(path) + " ni mogoce brati: " + error);
  return results;
}

}  // namespace

int pageOfResults(const PageOptions& options) {
  std::vector<std::string> inputs = {options.resultsPath};
  if (!options.comparePath.empty()) inputs.push_back(options.comparePath);
  OutputSet outputs;
  OutputFile& page = outputs.add(options.pagePath, "stran", inputs, OutputFile::LineEnds::Lf);
  if (outputs.status() != ExitReportWritten) failBatch(std::string());
  ResultsFile results = readResults(options.resultsPath, "rezultatov");
  PageContext context;
  if (!options.comparePath.empty()) {
    const ResultsFile earlier = readResults(options.comparePath, "rezultatov za primerjavo");
    compareWith(earlier, results.cases);
    context = {options.comparePath, earlier.summary.provenance};
  }
  BatchTotals totals = totalsOf(results.cases);
  totals.provenance = results.summary.provenance;
  totals.interrupted = results.summary.interrupted;
  page.write(renderSummaryPage(results.cases, totals, options.pagePath, context));
  return outputs.deliver();
}
