#include "batch/case_solving.h"

#include <cstdio>

#include "base/folder.h"
#include "base/output_delivery.h"
#include "base/platform.h"
#include "batch/error_tail.h"
#include "batch/process_pool.h"
#include "batch/solver_command.h"

namespace {

// The bytes of the file at `path`; empty when it cannot be read.
std::string readFile(const std::string& path) {
  std::FILE* file = platform::openFile(path, "rb");
  if (file == nullptr) return std::string();
  std::string bytes;
  char buffer[65536];
  for (size_t count; (count = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
    bytes.append(buffer, count);
  std::fclose(file);
  return bytes;
}

// Puts the solver's standard output in the submission's place, whole.
bool placeSubmission(const std::string& outputPath, const BatchCase& solved) {
  OutputFile submission;
  if (openOutputFile({solved.casePath}, solved.submissionPath, "oddajo", submission,
                     OutputFile::LineEnds::Lf) != ExitReportWritten)
    return false;
  submission.write(readFile(outputPath));
  return deliverOutputFile(solved.submissionPath, submission) == ExitReportWritten;
}

SolverRun solverRunOf(const ProcessEnd& end, const std::string& errorPath) {
  SolverRun run;
  run.ran = true;
  run.exited = end.started && !end.end.crashed;
  run.status = end.started ? end.end.status : -1;
  run.seconds = end.seconds;
  run.stderrTail = fileTail(errorPath);
  return run;
}

// What the solver's end means for the case.
void recordSolverEnd(const ProcessEnd& end, const ProcessJob& job, BatchCase& solved) {
  CaseResult& result = solved.result;
  result.solver = solverRunOf(end, job.errorPath);
  solved.hasSubmission = false;
  if (end.timedOut) {
    result.status = CaseStatus::TimeLimit;
  } else if (!result.solver.exited || result.solver.status != 0) {
    result.status = CaseStatus::SolverFailed;
  } else {
    solved.hasSubmission =
        (job.outputPath.empty() || placeSubmission(job.outputPath, solved)) &&
        platform::inputProblem(solved.submissionPath).empty();
  }
}

ProcessJob jobOf(const RunOptions& options, const BatchCase& solved,
                 const std::string& scratchFolder, size_t index) {
  const SolverCommand command = solverCommand(options.solveCommand, solved.casePath,
                                              solved.submissionPath, solved.result.name);
  ProcessJob job;
  job.shellCommand = command.line;
  job.timeLimitSeconds = options.timeLimitSeconds;
  job.errorPath = pathInFolder(scratchFolder, "solver-" + std::to_string(index) + ".err");
  if (command.usesStandardStreams) {
    job.inputPath = solved.casePath;
    job.outputPath = pathInFolder(scratchFolder, "solver-" + std::to_string(index) + ".out");
  }
  return job;
}

}  // namespace

void solveCases(const RunOptions& options, const std::string& scratchFolder,
                std::vector<BatchCase>& cases) {
  std::vector<ProcessJob> jobs;
  for (size_t i = 0; i < cases.size(); ++i) {
    jobs.push_back(jobOf(options, cases[i], scratchFolder, i));
    // A solver that writes the submission itself must not leave an old one
    // to be evaluated as its own when it writes none.
    if (jobs.back().outputPath.empty()) platform::removeFile(cases[i].submissionPath);
  }
  runProcesses(std::string(), jobs, jobsToRun(options),
               [&](size_t index, const ProcessEnd& end) {
                 recordSolverEnd(end, jobs[index], cases[index]);
               });
}
