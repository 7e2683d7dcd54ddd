#include "batch/batch.h"

#include <algorithm>
#include <cstdio>

#include "base/folder.h"
#include "base/output_delivery.h"
#include "base/output_file.h"
#include "base/output_path.h"
#include "base/platform.h"
#include "base/process.h"
#include "batch/batch_options.h"
#include "batch/batch_progress.h"
#include "batch/batch_totals.h"
#include "batch/best_scores.h"
#include "batch/case_features.h"
#include "batch/case_result.h"
#include "batch/case_solving.h"
#include "batch/child_pool.h"
#include "batch/report_reading.h"
#include "batch/results_file.h"
#include "batch/summary_page.h"

namespace {

const char CaseSuffix[] = ".txt";

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// One case of the batch: its files and what became of it.
struct BatchCase {
  std::string casePath;
  std::string submissionPath;
  bool hasSubmission = false;
  CaseResult result;
};

// Where the reports go: the folder the user named, created when missing,
// or a temporary one that is removed with everything in it at the end.
class ReportsFolder {
 public:
  ~ReportsFolder() {
    if (temporary_) removeFolderTree(path_);
  }

  // False, with `error`, when the folder cannot be had.
  bool prepare(const std::string& requested, std::string& error) {
    if (!requested.empty()) {
      path_ = requested;
      return makeFolders(requested, error);
    }
    temporary_ = makeTemporaryFolder("skedomat-batch-", path_, error);
    return temporary_;
  }

  const std::string& path() const { return path_; }
  bool kept() const { return !temporary_; }

 private:
  std::string path_;
  bool temporary_ = false;
};

// The cases of CASES_DIR, sorted by name, each paired with its submission.
bool findCases(const BatchOptions& options, std::vector<BatchCase>& cases,
               std::string& error) {
  std::vector<std::string> files;
  if (!listFiles(options.casesFolder, CaseSuffix, files, error)) return false;
  for (size_t i = 0; i < files.size(); ++i) {
    if (static_cast<int64_t>(i) % options.shardCount != options.shardIndex - 1) continue;
    const std::string& file = files[i];
    BatchCase batchCase;
    batchCase.casePath = pathInFolder(options.casesFolder, file);
    batchCase.submissionPath = pathInFolder(options.submissionsFolder, file);
    batchCase.hasSubmission = platform::inputProblem(batchCase.submissionPath).empty();
    batchCase.result.name = file.substr(0, file.size() - (sizeof CaseSuffix - 1));
    cases.push_back(batchCase);
  }
  return true;
}

// Why the folders cannot serve the batch; empty when they can.
std::string folderProblem(const BatchOptions& options) {
  // A solver writes the submissions: their folder is made when missing.
  std::string error;
  if (!options.solveCommand.empty() && !isFolder(options.submissionsFolder) &&
      !makeFolders(options.submissionsFolder, error))
    return "mape za oddaje " + quoted(options.submissionsFolder) +
           " ni mogoce ustvariti: " + error;
  for (const std::string* folder : {&options.casesFolder, &options.submissionsFolder})
    if (!isFolder(*folder)) return "mapa " + quoted(*folder) + " ne obstaja ali ni mapa.";
  if (!options.reportsFolder.empty() &&
      (sameFile(options.reportsFolder, options.casesFolder) ||
       sameFile(options.reportsFolder, options.submissionsFolder)))
    return "mapa za porocila " + quoted(options.reportsFolder) +
           " ne sme biti mapa s primeri ali oddajami.";
  return std::string();
}

// Refuses an output path (`what` names it) that names an input, a folder
// of inputs or a report of the batch, and opens the file that will take
// its place.
int openBatchOutput(const std::string& path, const std::string& what,
                    const BatchOptions& options, const std::vector<BatchCase>& cases,
                    const std::string& reportsFolder, OutputFile& output) {
  std::vector<std::string> inputs = {options.casesFolder, options.submissionsFolder};
  if (!options.comparePath.empty()) inputs.push_back(options.comparePath);
  for (const BatchCase& batchCase : cases) {
    inputs.push_back(batchCase.casePath);
    inputs.push_back(batchCase.submissionPath);
  }
  for (const BatchCase& batchCase : cases)
    if (sameFile(path, pathInFolder(reportsFolder, batchCase.result.name + CaseSuffix)))
      return outputNotWritten("datoteka za " + what + " " + quoted(path) +
                              " je porocilo primera " + quoted(batchCase.result.name) +
                              ".");
  return openOutputFile(inputs, path, what, output, OutputFile::LineEnds::Lf);
}

int writeWhole(const std::string& path, const std::string& text, OutputFile& output) {
  output.write(text);
  return deliverOutputFile(path, output);
}

std::string resultsText(const std::vector<CaseResult>& caseResults,
                        const BatchTotals& totals) {
  std::string text;
  for (const CaseResult& result : caseResults) text += caseObject(result).text() + "\n";
  return text + summaryObject(totals).text() + "\n";
}

// Gives each case its change against the earlier results of the same name.
void compareWith(const ResultsFile& earlier, std::vector<CaseResult>& results) {
  for (CaseResult& result : results) {
    if (!result.scored()) continue;
    for (const CaseResult& old : earlier.cases) {
      if (old.name != result.name || !old.scored()) continue;
      result.hasChange = true;
      result.change = result.score() - old.score();
    }
  }
}

// The earlier results and best scores, read before anything runs so that a
// bad file costs nothing; empty when there is no problem.
std::string readEarlierFiles(const BatchOptions& options, ResultsFile& earlier,
                             BestScores& best) {
  std::string error;
  if (!options.comparePath.empty() && !readResultsFile(options.comparePath, earlier, error))
    return "rezultatov za primerjavo " + quoted(options.comparePath) +
           " ni mogoce brati: " + error;
  if (!options.bestPath.empty() && !best.read(options.bestPath, error))
    return "najboljsih ocen " + quoted(options.bestPath) + " ni mogoce brati: " + error;
  return std::string();
}

// Evaluates the cases that have a submission, `jobs` at a time, and reads
// each report as its child ends. A case without a submission is not run.
void evaluateCases(const BatchOptions& options, const std::string& program,
                   const ReportsFolder& reports, std::vector<BatchCase>& cases) {
  BatchProgress progress(cases.size());
  std::vector<std::vector<std::string>> commands;
  std::vector<size_t> caseOfCommand;
  for (size_t i = 0; i < cases.size(); ++i) {
    BatchCase& batchCase = cases[i];
    if (!batchCase.hasSubmission) {
      batchCase.result.features =
          readCaseFeatures(batchCase.casePath, batchCase.submissionPath);
      progress.caseEnded(batchCase.result);
      continue;
    }
    batchCase.result.reportPath =
        pathInFolder(reports.path(), batchCase.result.name + CaseSuffix);
    if (options.explainFolder.empty()) {
      commands.push_back({"eval", batchCase.casePath, batchCase.submissionPath,
                          batchCase.result.reportPath, std::to_string(options.runs)});
    } else {
      // The same evaluation, its page and its report from one child.
      batchCase.result.pagePath =
          pathInFolder(options.explainFolder, batchCase.result.name + ".html");
      commands.push_back({"explain", batchCase.casePath, batchCase.submissionPath,
                          batchCase.result.pagePath, std::to_string(options.runs),
                          "--report", batchCase.result.reportPath});
    }
    caseOfCommand.push_back(i);
  }
  runChildren(program, commands, jobsToRun(options),
              [&](size_t command, const platform::ChildEnd& end) {
                BatchCase& ended = cases[caseOfCommand[command]];
                CaseResult& result = ended.result;
                result.features = readCaseFeatures(ended.casePath, ended.submissionPath);
                if (!end.crashed && end.status == ExitReportWritten)
                  result.status = readReport(result.reportPath, options.runs, result.runs,
                                             result.message);
                progress.caseEnded(result);
              });
  progress.clear();
  if (!reports.kept())
    for (BatchCase& batchCase : cases) batchCase.result.reportPath.clear();
}

// `batch --merge OUT IN...`: the shards' cases in one results file, sorted
// by name, each line as its shard wrote it, with the summary of them all.
int mergeResults(const BatchOptions& options) {
  ResultsFile merged;
  for (const std::string& input : options.mergeInputs) {
    ResultsFile shard;
    std::string error;
    if (!readResultsFile(input, shard, error))
      return outputNotWritten("rezultatov " + quoted(input) + " ni mogoce brati: " + error);
    merged.cases.insert(merged.cases.end(), shard.cases.begin(), shard.cases.end());
    merged.lines.insert(merged.lines.end(), shard.lines.begin(), shard.lines.end());
  }
  std::vector<size_t> order(merged.cases.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&merged](size_t a, size_t b) {
    return merged.cases[a].name < merged.cases[b].name;
  });
  std::vector<CaseResult> cases;
  std::string text;
  for (size_t k = 0; k < order.size(); ++k) {
    const CaseResult& result = merged.cases[order[k]];
    if (k > 0 && result.name == cases.back().name)
      return outputNotWritten("primer " + quoted(result.name) + " je v vec rezultatih.");
    cases.push_back(result);
    text += merged.lines[order[k]] + "\n";
  }
  const BatchTotals totals = totalsOf(cases);
  OutputFile output;
  int status = openOutputFile(options.mergeInputs, options.mergePath, "rezultate", output,
                              OutputFile::LineEnds::Lf);
  if (status != ExitReportWritten) return status;
  status = writeWhole(options.mergePath, text + summaryObject(totals).text() + "\n", output);
  std::fputs(resultTable(cases, totals).c_str(), stdout);
  if (status != ExitReportWritten) return status;
  return totals.noReport > 0 ? ExitNoReport : ExitReportWritten;
}

// `batch --page PAGE RESULTS [--compare OLD]`: the summary page of a results
// file already written.
int pageOfResults(const BatchOptions& options) {
  ResultsFile results, earlier;
  std::string error;
  if (!readResultsFile(options.pageResultsPath, results, error))
    return outputNotWritten("rezultatov " + quoted(options.pageResultsPath) +
                            " ni mogoce brati: " + error);
  if (!options.comparePath.empty()) {
    if (!readResultsFile(options.comparePath, earlier, error))
      return outputNotWritten("rezultatov za primerjavo " + quoted(options.comparePath) +
                              " ni mogoce brati: " + error);
    compareWith(earlier, results.cases);
  }
  std::vector<std::string> inputs = {options.pageResultsPath};
  if (!options.comparePath.empty()) inputs.push_back(options.comparePath);
  OutputFile page;
  const int status =
      openOutputFile(inputs, options.htmlPath, "stran", page, OutputFile::LineEnds::Lf);
  if (status != ExitReportWritten) return status;
  return writeWhole(options.htmlPath,
                    renderSummaryPage(results.cases, totalsOf(results.cases), options.htmlPath), page);
}

// Runs the solver of every case; a case is evaluated afterwards only when
// its solver exited with 0 and left a submission.
bool solveAll(const BatchOptions& options, std::vector<BatchCase>& cases,
              std::string& error) {
  std::vector<CaseToSolve> solving;
  for (BatchCase& batchCase : cases)
    solving.push_back({batchCase.casePath, batchCase.submissionPath, &batchCase.result});
  if (!solveCases(options, solving, error)) return false;
  for (size_t i = 0; i < cases.size(); ++i)
    cases[i].hasSubmission = solving[i].evaluate &&
                             platform::inputProblem(cases[i].submissionPath).empty();
  return true;
}

}  // namespace

int runBatch(const std::vector<std::string>& arguments) {
  BatchOptions options;
  if (arguments.size() < 2 ||
      !parseBatchOptions(std::vector<std::string>(arguments.begin() + 2, arguments.end()),
                         options))
    return batchUsageError();
  if (!options.mergePath.empty()) return mergeResults(options);
  if (!options.pageResultsPath.empty()) return pageOfResults(options);
  std::string problem = folderProblem(options);
  if (!problem.empty()) return outputNotWritten(problem);
  ResultsFile earlier;
  BestScores best;
  problem = readEarlierFiles(options, earlier, best);
  if (!problem.empty()) return outputNotWritten(problem);
  std::vector<BatchCase> cases;
  if (!findCases(options, cases, problem))
    return outputNotWritten("mape " + quoted(options.casesFolder) +
                            " ni mogoce brati: " + problem);
  const std::string program = platform::executablePath();
  if (program.empty()) return outputNotWritten("pot do programa ni znana.");
  ReportsFolder reports;
  if (!reports.prepare(options.reportsFolder, problem))
    return outputNotWritten("mape za porocila ni mogoce ustvariti: " + problem);
  if (!options.explainFolder.empty() && !makeFolders(options.explainFolder, problem))
    return outputNotWritten("mape za strani ni mogoce ustvariti: " + problem);
  OutputFile results, bestFile, page;
  if (!options.resultsPath.empty()) {
    const int status = openBatchOutput(options.resultsPath, "rezultate", options, cases,
                                       reports.path(), results);
    if (status != ExitReportWritten) return status;
  }
  if (!options.htmlPath.empty()) {
    const int status = openBatchOutput(options.htmlPath, "stran", options, cases,
                                       reports.path(), page);
    if (status != ExitReportWritten) return status;
  }
  const bool updateBest = !options.bestPath.empty() && !options.freezeBest;
  if (updateBest) {
    const int status = openBatchOutput(options.bestPath, "najboljse ocene", options, cases,
                                       reports.path(), bestFile);
    if (status != ExitReportWritten) return status;
  }

  if (!options.solveCommand.empty() && !solveAll(options, cases, problem))
    return outputNotWritten("mape za izhod resevalcev ni mogoce ustvariti: " + problem);
  evaluateCases(options, program, reports, cases);

  std::vector<CaseResult> caseResults;
  for (const BatchCase& batchCase : cases) caseResults.push_back(batchCase.result);
  if (!options.bestPath.empty()) best.apply(caseResults, options.freezeBest);
  if (!options.comparePath.empty()) compareWith(earlier, caseResults);
  const BatchTotals totals = totalsOf(caseResults);
  std::fputs(resultTable(caseResults, totals).c_str(), stdout);
  std::fflush(stdout);
  int status =
      totals.noReport > 0 || totals.solverFailures > 0 ? ExitNoReport : ExitReportWritten;
  if (!options.resultsPath.empty() &&
      writeWhole(options.resultsPath, resultsText(caseResults, totals), results) !=
          ExitReportWritten)
    status = ExitNoReport;
  if (updateBest &&
      writeWhole(options.bestPath, best.fileText(), bestFile) != ExitReportWritten)
    status = ExitNoReport;
  if (!options.htmlPath.empty() &&
      writeWhole(options.htmlPath, renderSummaryPage(caseResults, totals, options.htmlPath), page) !=
          ExitReportWritten)
    status = ExitNoReport;
  return status;
}
