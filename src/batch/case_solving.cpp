#include "batch/case_solving.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/folder.h"
#include "base/output_delivery.h"
#include "base/platform.h"
#include "base/command_options.h"
#include "batch/batch_failure.h"
#include "batch/error_tail.h"
#include "batch/process_pool.h"
#include "batch/solver_command.h"

namespace {

namespace fs = std::filesystem;

// The files of one case's solver in the scratch folder.
struct SolverFiles {
  std::string input;   // the copy of the case, for {in}
  std::string output;  // the submission it writes, by {out} or on standard output
  std::string error;   // its standard error
};

SolverFiles filesOf(const std::string& scratchFolder, size_t index) {
  const std::string stem = pathInFolder(scratchFolder, "solver-" + std::to_string(index));
  return {stem + "-in.txt", stem + "-out.txt", stem + "-err.txt"};
}

std::string seedFor(const std::string& caseName) {
  const std::string seed = seedOfCase(caseName);
  if (!isSafeWord(seed, false))
    failBatch("ime primera " + quotedWord(caseName) +
              " ne sme v ukaz kot {seed}: dovoljene so crke, stevke in ._- "
              "(ne na zacetku -).");
  return seed;
}

ProcessJob jobOf(const RunOptions& options, const BatchCase& solved, const SolverFiles& files) {
  const bool usesSeed = options.solveCommand.find("{seed}") != std::string::npos;
  const SolverCommand command =
      solverCommand(options.solveCommand, files.input, files.output,
                    usesSeed ? seedFor(solved.result.name) : std::string());
  ProcessJob job;
  job.shellCommand = command.line;
  job.timeLimitSeconds = options.timeLimitSeconds;
  job.errorPath = files.error;
  if (command.usesStandardStreams) {
    job.inputPath = solved.casePath;
    job.outputPath = files.output;
  }
  return job;
}

// The case as the solver's {in}: a copy under a name no shell can misread.
// Should the copy fail, the solver finds no case and fails on its own.
void copyCase(const BatchCase& solved, const SolverFiles& files) {
  std::error_code code;
  fs::copy_file(fs::u8path(solved.casePath), fs::u8path(files.input), code);
}

// A link in the submissions folder is taken away, not followed: the
// submission replaces the link, never the file it points to.
void removeOldSubmission(const std::string& path) {
  std::error_code code;
  if (fs::is_symlink(fs::u8path(path), code) || fs::is_regular_file(fs::u8path(path), code))
    platform::removeFile(path);
}

// Streams the solver's output into the submission's place, whole.
bool placeSubmission(const std::string& outputPath, const BatchCase& solved,
                     const std::vector<std::string>& inUse) {
  std::FILE* output = platform::openFile(outputPath, "rb");
  if (output == nullptr) return false;
  removeOldSubmission(solved.submissionPath);
  OutputFile submission;
  bool placed = openOutputFile(inUse, solved.submissionPath, "oddajo", submission,
                               OutputFile::LineEnds::Lf) == ExitReportWritten;
  char buffer[65536];
  for (size_t count; placed && (count = std::fread(buffer, 1, sizeof buffer, output)) > 0;)
    submission.write(std::string(buffer, count));
  placed = placed && std::ferror(output) == 0;
  std::fclose(output);
  return placed && deliverOutputFile(solved.submissionPath, submission) == ExitReportWritten;
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

// What the solver's end means for the case: only a solver that exited
// with 0 and wrote a submission has one to evaluate.
void recordSolverEnd(const ProcessEnd& end, const SolverFiles& files, BatchCase& solved,
                     const std::vector<std::string>& inUse) {
  CaseResult& result = solved.result;
  result.solver = solverRunOf(end, files.error);
  result.message.clear();
  solved.hasSubmission = false;
  if (end.timedOut) {
    result.status = CaseStatus::TimeLimit;
  } else if (!result.solver.exited || result.solver.status != 0) {
    result.status = CaseStatus::SolverFailed;
  } else if (!fs::is_regular_file(fs::u8path(files.output))) {
    result.message = "resevalec ni napisal oddaje";
  } else if (!placeSubmission(files.output, solved, inUse)) {
    result.message = "oddaje ni bilo mogoce postaviti na njeno mesto";
  } else {
    solved.hasSubmission = true;
  }
}

}  // namespace

void solveCases(const RunOptions& options, const std::string& scratchFolder,
                const std::vector<std::string>& inUse, std::vector<BatchCase>& cases) {
  if (!isSafeWord(scratchFolder, true))
    failBatch("zacasna mapa " + quotedWord(scratchFolder) +
              " ima v imenu znake, ki jih lupina ne vzame dobesedno.");
  std::vector<SolverFiles> files;
  std::vector<ProcessJob> jobs;
  for (size_t i = 0; i < cases.size(); ++i) {
    files.push_back(filesOf(scratchFolder, i));
    jobs.push_back(jobOf(options, cases[i], files.back()));
  }
  const bool usesInput = options.solveCommand.find("{in}") != std::string::npos;
  std::vector<ProcessEnd> ends(cases.size());
  std::vector<bool> ended(cases.size(), false);
  runProcesses(
      std::string(), jobs, jobsToRun(options),
      [&](size_t index, const ProcessEnd& end) {
        ends[index] = end;
        ended[index] = !end.interrupted;
      },
      [&](size_t index) {
        // Just before its own solver, so that one that fails leaves no
        // stale schedule, and one that never ran keeps the old one.
        removeOldSubmission(cases[index].submissionPath);
        if (usesInput) copyCase(cases[index], files[index]);
      });
  // Placed once every solver has ended: a large output costs no other
  // solver its time limit.
  for (size_t i = 0; i < cases.size(); ++i) {
    if (ended[i])
      recordSolverEnd(ends[i], files[i], cases[i], inUse);
    else
      cases[i].finished = cases[i].hasSubmission = false;
  }
}
