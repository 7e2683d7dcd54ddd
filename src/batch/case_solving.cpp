#include "batch/case_solving.h"

#include <cstdio>

#include "base/folder.h"
#include "base/output_delivery.h"
#include "base/output_file.h"
#include "base/platform.h"
#include "batch/solver_command.h"
#include "batch/solver_pool.h"

namespace {

// The bytes of the file at `path` from `offsetFromEnd` bytes before its end
// (all of them when 0); empty when it cannot be read.
std::string readFile(const std::string& path, long offsetFromEnd) {
  std::FILE* file = platform::openFile(path, "rb");
  if (file == nullptr) return std::string();
  if (offsetFromEnd > 0 && std::fseek(file, -offsetFromEnd, SEEK_END) != 0)
    std::rewind(file);
  std::string bytes;
  char buffer[65536];
  for (size_t count; (count = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
    bytes.append(buffer, count);
  std::fclose(file);
  return bytes;
}

// Puts the solver's standard output in the submission's place, whole.
bool placeSubmission(const std::string& outputPath, const CaseToSolve& solved) {
  OutputFile submission;
  if (openOutputFile({solved.casePath}, solved.submissionPath, "oddajo", submission,
                     OutputFile::LineEnds::Lf) != ExitReportWritten)
    return false;
  submission.write(readFile(outputPath, 0));
  return deliverOutputFile(solved.submissionPath, submission) == ExitReportWritten;
}

SolverRun solverRunOf(const SolverEnd& end, const std::string& errorPath) {
  SolverRun run;
  run.ran = true;
  run.exited = end.started && !end.end.crashed;
  run.status = end.started ? end.end.status : -1;
  run.seconds = end.seconds;
  run.stderrTail = tailOf(readFile(errorPath, static_cast<long>(MaxTailBytes)));
  return run;
}

// What the solver's end means for the case.
void recordSolverEnd(const SolverEnd& end, const SolverJob& job, CaseToSolve& solved) {
  CaseResult& result = *solved.result;
  result.solver = solverRunOf(end, job.errorPath);
  if (end.timedOut)
    result.status = CaseStatus::TimeLimit;
  else if (!result.solver.exited || result.solver.status != 0)
    result.status = CaseStatus::SolverFailed;
  else
    solved.evaluate = job.outputPath.empty() || placeSubmission(job.outputPath, solved);
}

SolverJob jobOf(const BatchOptions& options, const CaseToSolve& solved,
                const std::string& scratchFolder, size_t index) {
  const SolverCommand command = solverCommand(options.solveCommand, solved.casePath,
                                              solved.submissionPath, solved.result->name);
  SolverJob job;
  job.command = command.line;
  job.errorPath = pathInFolder(scratchFolder, std::to_string(index) + ".err");
  if (command.usesStandardStreams) {
    job.inputPath = solved.casePath;
    job.outputPath = pathInFolder(scratchFolder, std::to_string(index) + ".out");
  }
  return job;
}

}  // namespace

std::string tailOf(const std::string& text) {
  size_t start = text.size() > MaxTailBytes ? text.size() - MaxTailBytes : 0;
  size_t lines = 0;
  // A line end that closes the text starts no line of its own.
  size_t at = text.size() > start && text.back() == '\n' ? text.size() - 1 : text.size();
  while (at > start) {
    at = text.rfind('\n', at - 1);
    if (at == std::string::npos || at < start) break;
    if (++lines == MaxTailLines) {
      start = at + 1;
      break;
    }
  }
  return text.substr(start);
}

bool solveCases(const BatchOptions& options, std::vector<CaseToSolve>& cases,
                std::string& error) {
  std::string scratchFolder;
  if (!makeTemporaryFolder("skedomat-solve-", scratchFolder, error)) return false;
  std::vector<SolverJob> jobs;
  for (size_t i = 0; i < cases.size(); ++i) {
    jobs.push_back(jobOf(options, cases[i], scratchFolder, i));
    // A solver that writes the submission itself must not leave an old one
    // to be evaluated as its own when it writes none.
    if (jobs.back().outputPath.empty()) platform::removeFile(cases[i].submissionPath);
  }
  runSolvers(jobs, jobsToRun(options), options.timeLimitSeconds,
             [&](size_t index, const SolverEnd& end) {
               recordSolverEnd(end, jobs[index], cases[index]);
             });
  removeFolderTree(scratchFolder);
  return true;
}
