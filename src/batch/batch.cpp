#include "batch/batch.h"

#include <algorithm>
#include <cstdio>

#include "base/folder.h"
#include "base/output_file.h"
#include "base/output_path.h"
#include "base/platform.h"
#include "base/process.h"
#include "batch/batch_options.h"
#include "batch/batch_progress.h"
#include "batch/batch_totals.h"
#include "batch/case_result.h"
#include "batch/case_solving.h"
#include "batch/child_pool.h"
#include "batch/report_reading.h"
#include "driver/evaluation.h"

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
  for (const std::string& file : files) {
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
  for (const std::string* folder : {&options.casesFolder, &options.submissionsFolder})
    if (!isFolder(*folder)) return "mapa " + quoted(*folder) + " ne obstaja ali ni mapa.";
  if (!options.reportsFolder.empty() &&
      (sameFile(options.reportsFolder, options.casesFolder) ||
       sameFile(options.reportsFolder, options.submissionsFolder)))
    return "mapa za porocila " + quoted(options.reportsFolder) +
           " ne sme biti mapa s primeri ali oddajami.";
  return std::string();
}

// Refuses a results path that names an input, a folder of inputs or a
// report of the batch, and opens the file that will take its place.
int openResults(const BatchOptions& options, const std::vector<BatchCase>& cases,
                const std::string& reportsFolder, OutputFile& results) {
  std::vector<std::string> inputs = {options.casesFolder, options.submissionsFolder};
  for (const BatchCase& batchCase : cases) {
    inputs.push_back(batchCase.casePath);
    inputs.push_back(batchCase.submissionPath);
  }
  std::string targetPath;
  const std::string refusal =
      refuseOutputPath(options.resultsPath, "rezultate", inputs, targetPath);
  if (!refusal.empty()) return outputNotWritten(refusal);
  for (const BatchCase& batchCase : cases)
    if (sameFile(options.resultsPath,
                 pathInFolder(reportsFolder, batchCase.result.name + CaseSuffix)))
      return outputNotWritten("datoteka za rezultate " + quoted(options.resultsPath) +
                              " je porocilo primera " + quoted(batchCase.result.name) +
                              ".");
  if (!results.open(targetPath))
    return outputNotWritten("datoteke za rezultate " + quoted(options.resultsPath) +
                            " ni mogoce ustvariti: " + results.errorText());
  return ExitReportWritten;
}

int writeResults(const std::string& path, const std::vector<CaseResult>& caseResults,
                 const BatchTotals& totals, OutputFile& results) {
  for (const CaseResult& result : caseResults)
    results.write(caseObject(result).text() + "\n");
  results.write(summaryObject(totals).text() + "\n");
  const int status = finishOutputFile(path, results);
  return status != ExitReportWritten ? status : commitOutputFile(path, results);
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
      progress.caseEnded(batchCase.result);
      continue;
    }
    batchCase.result.reportPath =
        pathInFolder(reports.path(), batchCase.result.name + CaseSuffix);
    commands.push_back({"eval", batchCase.casePath, batchCase.submissionPath,
                        batchCase.result.reportPath, std::to_string(options.runs)});
    caseOfCommand.push_back(i);
  }
  runChildren(program, commands, jobsToRun(options),
              [&](size_t command, const platform::ChildEnd& end) {
                CaseResult& result = cases[caseOfCommand[command]].result;
                if (!end.crashed && end.status == ExitReportWritten)
                  result.status = readReport(result.reportPath, options.runs, result.runs);
                progress.caseEnded(result);
              });
  progress.clear();
  if (!reports.kept())
    for (BatchCase& batchCase : cases) batchCase.result.reportPath.clear();
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
  std::string problem = folderProblem(options);
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
  OutputFile results;
  if (!options.resultsPath.empty()) {
    const int status = openResults(options, cases, reports.path(), results);
    if (status != ExitReportWritten) return status;
  }

  if (!options.solveCommand.empty() && !solveAll(options, cases, problem))
    return outputNotWritten("mape za izhod resevalcev ni mogoce ustvariti: " + problem);
  evaluateCases(options, program, reports, cases);

  std::vector<CaseResult> caseResults;
  for (const BatchCase& batchCase : cases) caseResults.push_back(batchCase.result);
  const BatchTotals totals = totalsOf(caseResults);
  std::fputs(resultTable(caseResults, totals).c_str(), stdout);
  std::fflush(stdout);
  int status =
      totals.noReport > 0 || totals.solverFailures > 0 ? ExitNoReport : ExitReportWritten;
  if (!options.resultsPath.empty() &&
      writeResults(options.resultsPath, caseResults, totals, results) != ExitReportWritten)
    status = ExitNoReport;
  return status;
}
