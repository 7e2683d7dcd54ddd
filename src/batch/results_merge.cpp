#include "batch/results_merge.h"

#include <algorithm>

#include "base/exit_status.h"
#include "base/output_set.h"
#include "base/command_options.h"
#include "batch/batch_failure.h"
#include "batch/result_table.h"
#include "batch/results_format.h"

namespace {

// The shards' cases; `merged` says whether any shard was interrupted and
// carries the first shard's provenance.
std::vector<CaseResult> readShards(const std::vector<std::string>& paths, BatchTotals& merged) {
  std::vector<CaseResult> cases;
  for (const std::string& path : paths) {
    ResultsFile shard;
    std::string error;
    if (!readResultsFile(path, shard, error))
      failBatch("rezultatov " + quotedWord(path) + " ni mogoce brati: " + error);
    cases.insert(cases.end(), shard.cases.begin(), shard.cases.end());
    merged.interrupted = merged.interrupted || shard.summary.interrupted;
    if (!merged.provenance.known) merged.provenance = shard.summary.provenance;
  }
  return cases;
}

void sortByName(std::vector<CaseResult>& cases) {
  std::stable_sort(cases.begin(), cases.end(), [](const CaseResult& a, const CaseResult& b) {
    return a.name < b.name;
  });
  for (size_t i = 1; i < cases.size(); ++i)
    if (cases[i].name == cases[i - 1].name)
      failBatch("primer " + quotedWord(cases[i].name) + " je v vec rezultatih.");
}

}  // namespace

int mergeResults(const MergeOptions& options) {
  OutputSet outputs;
  OutputFile& merged =
      outputs.add(options.outputPath, "rezultate", options.inputPaths, OutputFile::LineEnds::Lf);
  if (outputs.status() != ExitReportWritten) failBatch(std::string());
  BatchTotals shards;
  std::vector<CaseResult> cases = readShards(options.inputPaths, shards);
  sortByName(cases);
  BatchTotals totals = totalsOf(cases);
  totals.interrupted = shards.interrupted;
  totals.provenance = shards.provenance;
  merged.write(resultsText(cases, totals));
  const bool printed = printTable(cases, totals);
  const int written = outputs.deliver();
  return !printed || written != ExitReportWritten ? ExitNoReport : totals.exitStatus();
}
