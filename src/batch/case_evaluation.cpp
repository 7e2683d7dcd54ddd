#include "batch/case_evaluation.h"

#include "base/exit_status.h"
#include <cstdio>
#include <filesystem>

#include "base/console_text.h"
#include "base/folder.h"
#include "base/platform.h"
#include "batch/batch_progress.h"
#include "batch/error_tail.h"
#include "batch/process_pool.h"
#include "driver/report_reader.h"

namespace {

const char CaseSuffix[] = ".txt";

// The batch's status of a report's form.
CaseStatus statusOfForm(ReportForm form) {
  switch (form) {
    case ReportForm::Success: return CaseStatus::Ok;
    case ReportForm::InvalidSubmission: return CaseStatus::Invalid;
    case ReportForm::CheckFailure: return CaseStatus::CheckFailure;
    case ReportForm::UnexpectedError: return CaseStatus::UnexpectedError;
    case ReportForm::Garbled: break;
  }
  return CaseStatus::NoReport;
}

// The child's command: eval, or explain with the same report beside its
// page.
// The summary page as the child is to name it: the child links to it from
// the folder it writes in, and the page is moved to the kept folder, so
// the path stands where the summary lies relative to the kept folder.
std::string summaryAsSeenFrom(const std::string& summaryPath, const EvaluationFolders& folders) {
  namespace fs = std::filesystem;
  const fs::path kept = fs::absolute(fs::u8path(folders.keptPages)).lexically_normal();
  const fs::path summary = fs::absolute(fs::u8path(summaryPath)).lexically_normal();
  return (fs::u8path(folders.pages) / summary.lexically_relative(kept)).u8string();
}

// Each child writes under the case's index, so that no case name, however
// long or strange, is a name the children must make.
ProcessJob jobOf(const RunOptions& options, const EvaluationFolders& folders, size_t index,
                 const BatchCase& batchCase) {
  const std::string stem = std::to_string(index);
  ProcessJob job;
  job.errorPath = pathInFolder(folders.scratch, "eval-" + stem + ".err");
  const std::string runs = std::to_string(options.runs);
  const std::string report = pathInFolder(folders.reports, stem + CaseSuffix);
  if (folders.pages.empty()) {
    job.arguments = {"eval", batchCase.casePath, batchCase.submissionPath, report, runs};
    return job;
  }
  job.arguments = {"explain", batchCase.casePath, batchCase.submissionPath,
                   pathInFolder(folders.pages, stem + ".html"), runs, "--report", report};
  if (!options.htmlPath.empty())
    job.arguments.insert(job.arguments.end(),
                         {"--summary", summaryAsSeenFrom(options.htmlPath, folders)});
  return job;
}

// Moves what a child wrote to where it is kept; the kept path, or empty
// when it could not be moved (one line on standard error says why).
std::string keep(const std::string& written, const std::string& kept) {
  if (!platform::inputProblem(written).empty()) return std::string();
  if (platform::replaceFile(written, kept)) return kept;
  std::fprintf(stderr, "Skedomat: %s ni mogoce premakniti na %s: %s\n",
               consoleText(written).c_str(), consoleText(kept).c_str(),
               platform::lastErrorText().c_str());
  return std::string();
}

void keepOutputs(const EvaluationFolders& folders, size_t index, CaseResult& result) {
  const std::string stem = std::to_string(index);
  if (!folders.keptReports.empty())
    result.reportPath = keep(pathInFolder(folders.reports, stem + CaseSuffix),
                             keptReportPath(folders.keptReports, result.name));
  if (!folders.keptPages.empty())
    result.pagePath = keep(pathInFolder(folders.pages, stem + ".html"),
                           keptPagePath(folders.keptPages, result.name));
}

// A report's message, and what the child said on standard error beside it
// (an input it could not read, with the system's reason), so that a
// system's failure is not taken for a faulty file.
std::string withErrorTail(const std::string& message, const std::string& errorPath) {
  std::string tail = fileTail(errorPath);
  while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r')) tail.pop_back();
  return tail.empty() ? message : message + " (" + tail + ")";
}

// Why a case has no report: how its child ended and what it said.
std::string noReportMessage(const ProcessEnd& end, const std::string& readerReason,
                            const std::string& errorPath) {
  std::string message;
  if (!end.started)
    message = "ocenjevalca ni bilo mogoce zagnati";
  else if (end.end.crashed)
    message = "ocenjevalec se je sesul (" + std::to_string(end.end.status) + ")";
  else if (end.end.status != ExitReportWritten)
    message = "ocenjevalec je koncal s statusom " + std::to_string(end.end.status);
  else
    message = readerReason;
  const std::string tail = fileTail(errorPath);
  return tail.empty() ? message : message + ": " + tail;
}

void recordEnd(const RunOptions& options, const ProcessEnd& end, const ProcessJob& job,
               const std::string& reportPath, CaseFeatureReader& features, BatchCase& ended) {
  CaseResult& result = ended.result;
  const std::string& errorPath = job.errorPath;
  result.features = features.read(ended.casePath, ended.submissionPath);
  ReportReading reading;
  if (end.started && !end.end.crashed && end.end.status == ExitReportWritten)
    reading = readReport(reportPath, options.runs);
  result.status = statusOfForm(reading.form);
  result.runs = reading.runs;
  result.message = result.status == CaseStatus::NoReport
                       ? noReportMessage(end, reading.message, errorPath)
                       : withErrorTail(reading.message, errorPath);
}

}  // namespace

std::string keptReportPath(const std::string& folder, const std::string& caseName) {
  return pathInFolder(folder, caseName + CaseSuffix);
}

std::string keptPagePath(const std::string& folder, const std::string& caseName) {
  return pathInFolder(folder, caseName + ".html");
}

void evaluateCases(const RunOptions& options, const std::string& program,
                   const EvaluationFolders& folders, std::vector<BatchCase>& cases) {
  BatchProgress progress(cases.size());
  CaseFeatureReader features;
  std::vector<ProcessJob> jobs;
  std::vector<size_t> caseOfJob;
  for (size_t i = 0; i < cases.size(); ++i) {
    BatchCase& batchCase = cases[i];
    if (!batchCase.finished) continue;
    if (!batchCase.hasSubmission) {
      batchCase.result.features = features.read(batchCase.casePath, batchCase.submissionPath);
      progress.caseEnded(batchCase.result);
      continue;
    }
    jobs.push_back(jobOf(options, folders, i, batchCase));
    caseOfJob.push_back(i);
    // Finished when its child ends, unless an interrupt kills it first.
    batchCase.finished = false;
  }
  runProcesses(program, jobs, jobsToRun(options), [&](size_t job, const ProcessEnd& end) {
    BatchCase& ended = cases[caseOfJob[job]];
    if (end.interrupted) return;
    ended.finished = true;
    recordEnd(options, end, jobs[job],
              pathInFolder(folders.reports, std::to_string(caseOfJob[job]) + CaseSuffix), features,
              ended);
    keepOutputs(folders, caseOfJob[job], ended.result);
    progress.caseEnded(ended.result);
  });
  progress.clear();
}
