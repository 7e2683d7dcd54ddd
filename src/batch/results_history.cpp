#include "batch/results_history.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/console_text.h"
#include "base/exit_status.h"
#include "base/folder.h"
#include "base/number_format.h"
#include "base/command_options.h"
#include "batch/batch_failure.h"
#include "batch/results_format.h"

namespace {

const char HistorySuffix[] = ".jsonl";

std::vector<std::string> runsIn(const std::string& folder) {
  std::vector<std::string> names;
  std::string error;
  if (!listFiles(folder, HistorySuffix, names, error))
    failBatch("zgodovine " + quotedWord(folder) + " ni mogoce brati: " + error);
  return names;
}

// One run's line of the list.
std::string runLine(const std::string& folder, const std::string& name) {
  ResultsFile results;
  std::string error;
  if (!readResultsFile(pathInFolder(folder, name), results, error))
    return padRight(consoleText(name), 22) + "  ni mogoce brati: " + consoleText(error);
  const BatchTotals& totals = results.summary;
  const std::string when = totals.provenance.known ? totals.provenance.startTime : name;
  const std::string solver =
      totals.provenance.solverCommand.empty() ? "-" : totals.provenance.solverCommand;
  return padRight(consoleText(when), 22) + "  " + padRight(totals.scoreMean.text(3), 14) +
         "  " + padRight(totals.relative ? formatFixed(totals.relativeMean, 4) : "-", 9) +
         "  " + padRight(std::to_string(totals.failed) + "/" + std::to_string(totals.cases), 9) +
         "  " + consoleText(solver.substr(0, 60));
}

}  // namespace

std::string historyPathFor(const std::string& folder, const std::string& startTime) {
  const std::string stem = fileTimeOf(startTime);
  const std::vector<std::string> names = isFolder(folder) ? runsIn(folder)
                                                          : std::vector<std::string>();
  // A three-digit count after the time keeps the names in the order the
  // runs came, also within one second.
  std::string name;
  for (int count = 1; name.empty() || std::find(names.begin(), names.end(), name) != names.end();
       ++count) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "-%03d", count);
    name = stem + suffix + HistorySuffix;
  }
  return pathInFolder(folder, name);
}

std::string newestInHistory(const std::string& folder) {
  if (!isFolder(folder)) return std::string();
  const std::vector<std::string> names = runsIn(folder);
  return names.empty() ? std::string() : pathInFolder(folder, names.back());
}

int listHistory(const std::string& folder) {
  if (!isFolder(folder)) failBatch("mapa " + quotedWord(folder) + " ne obstaja ali ni mapa.");
  std::vector<std::string> names = runsIn(folder);
  std::string table = padRight("cas (UTC)", 22) + "  " + padRight("povprecje", 14) + "  " +
                      padRight("relativno", 9) + "  " + padRight("neuspelih", 9) +
                      "  resevalec\n";
  for (auto name = names.rbegin(); name != names.rend(); ++name)
    table += runLine(folder, *name) + "\n";
  const bool written = std::fwrite(table.data(), 1, table.size(), stdout) == table.size() &&
                       std::fflush(stdout) == 0;
  if (!written) failBatch("seznama ni bilo mogoce zapisati na standardni izhod.");
  return ExitReportWritten;
}
