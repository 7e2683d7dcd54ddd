#include "batch/case_evaluation.h"

#include "base/exit_status.h"
#include "base/folder.h"
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
ProcessJob jobOf(const RunOptions& options, const std::string& scratchFolder, size_t index,
                 BatchCase& batchCase) {
  CaseResult& result = batchCase.result;
  ProcessJob job;
  job.errorPath = pathInFolder(scratchFolder, "eval-" + std::to_string(index) + ".err");
  const std::string runs = std::to_string(options.runs);
  if (options.explainFolder.empty()) {
    job.arguments = {"eval", batchCase.casePath, batchCase.submissionPath, result.reportPath,
                     runs};
    return job;
  }
  result.pagePath = pathInFolder(options.explainFolder, result.name + ".html");
  job.arguments = {"explain", batchCase.casePath, batchCase.submissionPath, result.pagePath,
                   runs, "--report", result.reportPath};
  return job;
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

void recordEnd(const RunOptions& options, const ProcessEnd& end, const std::string& errorPath,
               BatchCase& ended) {
  CaseResult& result = ended.result;
  result.features = readCaseFeatures(ended.casePath, ended.submissionPath);
  ReportReading reading;
  if (end.started && !end.end.crashed && end.end.status == ExitReportWritten)
    reading = readReport(result.reportPath, options.runs);
  result.status = statusOfForm(reading.form);
  result.runs = reading.runs;
  result.message = result.status == CaseStatus::NoReport
                       ? noReportMessage(end, reading.message, errorPath)
                       : reading.message;
}

}  // namespace

void evaluateCases(const RunOptions& options, const std::string& program,
                   const std::string& reportsFolder, const std::string& scratchFolder,
                   std::vector<BatchCase>& cases) {
  BatchProgress progress(cases.size());
  std::vector<ProcessJob> jobs;
  std::vector<size_t> caseOfJob;
  for (size_t i = 0; i < cases.size(); ++i) {
    BatchCase& batchCase = cases[i];
    if (!batchCase.hasSubmission) {
      batchCase.result.features =
          readCaseFeatures(batchCase.casePath, batchCase.submissionPath);
      if (!batchCase.result.solver.ran) batchCase.result.message = "oddaje ni";
      progress.caseEnded(batchCase.result);
      continue;
    }
    batchCase.result.reportPath = pathInFolder(reportsFolder, batchCase.result.name + CaseSuffix);
    jobs.push_back(jobOf(options, scratchFolder, i, batchCase));
    caseOfJob.push_back(i);
  }
  runProcesses(program, jobs, jobsToRun(options), [&](size_t job, const ProcessEnd& end) {
    BatchCase& ended = cases[caseOfJob[job]];
    recordEnd(options, end, jobs[job].errorPath, ended);
    progress.caseEnded(ended.result);
  });
  progress.clear();
}
