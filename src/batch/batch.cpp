#include "batch/batch.h"

#include <cstdio>
#include <filesystem>

#include "base/exit_status.h"
#include "base/file_lock.h"
#include "base/interrupt_cleanup.h"
#include "base/output_delivery.h"
#include "base/folder.h"
#include "base/output_path.h"
#include "base/output_set.h"
#include "base/platform.h"
#include "base/process.h"
#include "base/usage_error.h"
#include "batch/batch_case.h"
#include "base/command_options.h"
#include "batch/batch_failure.h"
#include "batch/batch_options.h"
#include "batch/batch_totals.h"
#include "batch/best_scores.h"
#include "batch/case_evaluation.h"
#include "batch/case_solving.h"
#include "batch/result_table.h"
#include "batch/results_comparison.h"
#include "batch/results_format.h"
#include "batch/results_history.h"
#include "batch/results_merge.h"
#include "batch/results_page.h"
#include "batch/summary_page.h"

namespace {

const char CaseSuffix[] = ".txt";

// The batch's own temporary folders, removed with everything in them at
// the end: one for the children's standard error and the solvers' files
// (and the reports, unless they are kept), and one inside each folder the
// user keeps reports or pages in, where the children write them before they
// are moved beside it.
class BatchFolders {
 public:
  explicit BatchFolders(const RunOptions& options) {
    folders_.scratch = makeOwn("");
    folders_.keptReports = options.reportsFolder;
    // Reports not kept go into the scratch folder, and with it.
    folders_.reports = options.reportsFolder.empty() ? folders_.scratch
                                                     : makeOwn(options.reportsFolder);
    folders_.keptPages = options.explainFolder;
    if (!options.explainFolder.empty())
      folders_.pages = makeOwn(options.explainFolder);
  }
  ~BatchFolders() {
    for (auto made = made_.rbegin(); made != made_.rend(); ++made) removeFolderTree(*made);
  }
  BatchFolders(const BatchFolders&) = delete;
  BatchFolders& operator=(const BatchFolders&) = delete;

  const EvaluationFolders& evaluation() const { return folders_; }

 private:
  // A new folder of this batch's own in `parent`, made first where missing
  // (a hidden one there), or in the system's folder for temporary files.
  std::string makeOwn(const std::string& parent) {
    std::string path, error;
    if (!parent.empty() && !makeFolders(parent, error))
      failBatch("mape " + quotedWord(parent) + " ni mogoce ustvariti: " + error);
    const char* prefix = parent.empty() ? "skedomat-batch-" : ".skedomat-batch-";
    if (!makeTemporaryFolder(prefix, path, error, parent))
      failBatch("zacasne mape ni mogoce ustvariti: " + error);
    made_.push_back(path);
    return path;
  }

  EvaluationFolders folders_;
  std::vector<std::string> made_;
};

// The folders must be there (a solver's submissions folder is made), and
// the reports may go into neither.
void checkFolders(const RunOptions& options) {
  std::string error;
  if (!options.solveCommand.empty() && !isFolder(options.submissionsFolder) &&
      !makeFolders(options.submissionsFolder, error))
    failBatch("mape za oddaje " + quotedWord(options.submissionsFolder) +
              " ni mogoce ustvariti: " + error);
  for (const std::string* folder : {&options.casesFolder, &options.submissionsFolder})
    if (!isFolder(*folder)) failBatch("mapa " + quotedWord(*folder) + " ne obstaja ali ni mapa.");
  if (!options.solveCommand.empty() && sameFile(options.casesFolder, options.submissionsFolder))
    failBatch("resevalec bi pisal oddaje v mapo s primeri " + quotedWord(options.casesFolder) +
              ": mapi morata biti razlicni.");
  for (const std::string* folder : {&options.reportsFolder, &options.explainFolder})
    if (!folder->empty() && (sameFile(*folder, options.casesFolder) ||
                             sameFile(*folder, options.submissionsFolder)))
      failBatch("mapa " + quotedWord(*folder) + " ne sme biti mapa s primeri ali oddajami.");
}

// The earlier results and best scores, read before anything runs so that
// a bad file costs nothing.
struct EarlierFiles {
  ResultsFile compared;
  BestScores best;
};

void readEarlierFiles(const RunOptions& options, EarlierFiles& earlier) {
  std::string error;
  if (!options.comparePath.empty() &&
      !readResultsFile(options.comparePath, earlier.compared, error))
    failBatch("rezultatov za primerjavo " + quotedWord(options.comparePath) +
              " ni mogoce brati: " + error);
  if (!options.bestPath.empty() && !earlier.best.read(options.bestPath, error))
    failBatch("najboljsih ocen " + quotedWord(options.bestPath) + " ni mogoce brati: " + error);
}

// A submission is there to evaluate when it is a regular file that can be
// read; otherwise the case says why it is not. A FIFO or a device would
// hold its child forever.
bool submissionIsThere(const std::string& path, CaseResult& result) {
  namespace fs = std::filesystem;
  std::error_code code;
  const fs::file_status status = fs::status(fs::u8path(path), code);
  if (status.type() == fs::file_type::not_found) {
    result.message = "oddaje ni";
  } else if (status.type() != fs::file_type::regular) {
    result.message = "oddaja ni navadna datoteka";
  } else {
    result.message = platform::inputProblem(path);
    if (!result.message.empty()) result.message = "oddaje ni mogoce brati: " + result.message;
  }
  return result.message.empty();
}

// The cases of the shard, sorted by name, each paired with its submission.
std::vector<BatchCase> findCases(const RunOptions& options) {
  std::vector<std::string> files;
  std::string error;
  if (!listFiles(options.casesFolder, CaseSuffix, files, error))
    failBatch("mape " + quotedWord(options.casesFolder) + " ni mogoce brati: " + error);
  std::vector<BatchCase> cases;
  for (size_t i = 0; i < files.size(); ++i) {
    if (static_cast<int64_t>(i) % options.shardCount != options.shardIndex - 1) continue;
    BatchCase batchCase;
    batchCase.casePath = pathInFolder(options.casesFolder, files[i]);
    batchCase.submissionPath = pathInFolder(options.submissionsFolder, files[i]);
    batchCase.hasSubmission = submissionIsThere(batchCase.submissionPath, batchCase.result);
    batchCase.result.name = files[i].substr(0, files[i].size() - (sizeof CaseSuffix - 1));
    cases.push_back(batchCase);
  }
  return cases;
}

// Every file the batch reads or the children write, which no output of
// the batch may replace.
std::vector<std::string> inputsOf(const RunOptions& options,
                                  const std::vector<BatchCase>& cases) {
  std::vector<std::string> files = {options.casesFolder, options.submissionsFolder};
  if (!options.comparePath.empty()) files.push_back(options.comparePath);
  if (options.freezeBest) files.push_back(options.bestPath);
  for (const BatchCase& batchCase : cases) {
    files.push_back(batchCase.casePath);
    files.push_back(batchCase.submissionPath);
  }
  return files;
}

// Where the reports and pages of the cases are kept.
std::vector<std::string> keptOutputsOf(const RunOptions& options,
                                       const std::vector<BatchCase>& cases) {
  std::vector<std::string> files;
  for (const BatchCase& batchCase : cases) {
    if (!options.reportsFolder.empty())
      files.push_back(keptReportPath(options.reportsFolder, batchCase.result.name));
    if (!options.explainFolder.empty())
      files.push_back(keptPagePath(options.explainFolder, batchCase.result.name));
  }
  return files;
}

// A report or page kept where an input is: refused before anything runs.
// A link there is no input: the move replaces the link.
void checkKeptOutputs(const std::vector<std::string>& kept,
                      const std::vector<std::string>& inputs) {
  for (const std::string& path : kept) {
    if (isLink(path)) continue;
    for (const std::string& input : inputs)
      if (sameFile(path, input))
        failBatch("porocilo ali stran " + quotedWord(path) + " bi prepisala vhodno datoteko " +
                  quotedWord(input) + ".");
  }
}

// The batch's own outputs, opened before anything runs; none may replace
// a file in use or another of them. The results and the page are delivered
// together; the best scores after them, under their lock.
struct BatchOutputs {
  OutputSet set;
  OutputFile* results = nullptr;
  OutputFile* page = nullptr;
  OutputFile* history = nullptr;
  std::string historyPath;
  OutputFile best;
  bool raisesBest = false;
};

void openOutputs(const RunOptions& options, const Provenance& provenance,
                 std::vector<std::string> inUse, BatchOutputs& outputs) {
  std::string error;
  if (!options.historyFolder.empty()) {
    if (!makeFolders(options.historyFolder, error))
      failBatch("mape " + quotedWord(options.historyFolder) + " ni mogoce ustvariti: " + error);
    outputs.historyPath = historyPathFor(options.historyFolder, provenance.startTime);
  }
  const std::pair<const std::string*, OutputFile**> wanted[] = {
      {&options.resultsPath, &outputs.results},
      {&options.htmlPath, &outputs.page},
      {&outputs.historyPath, &outputs.history}};
  const char* what[] = {"rezultate", "stran", "zgodovino"};
  for (size_t i = 0; i < 3; ++i) {
    const std::string& path = *wanted[i].first;
    if (path.empty()) continue;
    *wanted[i].second = &outputs.set.add(path, what[i], inUse, OutputFile::LineEnds::Lf);
    if (outputs.set.status() != ExitReportWritten) failBatch(std::string());
    inUse.push_back(path);
  }
  outputs.raisesBest = !options.bestPath.empty() && !options.freezeBest;
  if (outputs.raisesBest &&
      openOutputFile(inUse, options.bestPath, "najboljse ocene", outputs.best,
                     OutputFile::LineEnds::Lf) != ExitReportWritten)
    failBatch(std::string());
}

// The results of the cases the batch finished (all of them, unless it was
// interrupted).
std::vector<CaseResult> resultsOf(const std::vector<BatchCase>& cases) {
  std::vector<CaseResult> results;
  for (const BatchCase& batchCase : cases)
    if (batchCase.finished) results.push_back(batchCase.result);
  return results;
}

// The lock that batches sharing a best file take beside it.
std::string lockPathOf(const std::string& bestPath) {
  namespace fs = std::filesystem;
  const fs::path best = fs::u8path(bestPath);
  return (best.parent_path() / fs::u8path("." + best.filename().u8string() + ".skedomat-lock"))
      .u8string();
}

// Takes the best file's lock and reads it afresh: what another batch wrote
// since this one began is kept.
void rereadBestUnderLock(const std::string& bestPath, FileLock& lock, BestScores& best) {
  std::string error;
  if (!lock.acquire(lockPathOf(bestPath), error))
    failBatch("najboljsih ocen " + quotedWord(bestPath) + " ni mogoce zakleniti: " + error);
  best = BestScores();
  if (!best.read(bestPath, error))
    failBatch("najboljsih ocen " + quotedWord(bestPath) + " ni mogoce brati: " + error);
}

int writeOutputs(const RunOptions& options, BatchOutputs& outputs,
                 const std::vector<CaseResult>& results, const BatchTotals& totals,
                 const EarlierFiles& earlier) {
  const std::string text = resultsText(results, totals);
  if (outputs.results != nullptr) outputs.results->write(text);
  if (outputs.history != nullptr) outputs.history->write(text);
  if (outputs.page != nullptr)
    outputs.page->write(renderSummaryPage(
        results, totals, options.htmlPath,
        {options.comparePath, earlier.compared.summary.provenance}));
  const int written = outputs.set.deliver();
  if (written != ExitReportWritten || !outputs.raisesBest) return written;
  outputs.best.write(earlier.best.fileText());
  return deliverOutputFile(options.bestPath, outputs.best);
}

// Judges what the batch finished, shows it and writes it. An interrupted
// batch writes its results, marked so, but leaves the best scores as they
// were.
int finishBatch(const RunOptions& options, const Provenance& provenance,
                const std::vector<BatchCase>& cases, EarlierFiles& earlier,
                BatchOutputs& outputs) {
  std::vector<CaseResult> results = resultsOf(cases);
  const bool interrupted = interruptRequested();
  outputs.raisesBest = outputs.raisesBest && !interrupted;
  FileLock lock;
  if (outputs.raisesBest) rereadBestUnderLock(options.bestPath, lock, earlier.best);
  if (!options.bestPath.empty()) earlier.best.apply(results, !outputs.raisesBest);
  if (!options.comparePath.empty()) compareWith(earlier.compared, results);
  BatchTotals totals = totalsOf(results);
  totals.interrupted = interrupted;
  totals.provenance = provenance;
  if (interrupted) std::fputs("Skedomat: batch je prekinjen; rezultati veljajo za "
                              "koncane primere.\n", stderr);
  const bool printed = printTable(results, totals);
  const int written = writeOutputs(options, outputs, results, totals, earlier);
  return !printed || written != ExitReportWritten ? ExitNoReport : totals.exitStatus();
}

// What the solvers' submissions may not replace: every file the batch
// reads but the submissions, and everything it writes.
std::vector<std::string> protectedFromSolvers(const RunOptions& options,
                                              const std::vector<BatchCase>& cases,
                                              const std::vector<std::string>& kept) {
  std::vector<std::string> files = {options.casesFolder};
  for (const std::string* path : {&options.comparePath, &options.bestPath, &options.resultsPath,
                                  &options.htmlPath})
    if (!path->empty()) files.push_back(*path);
  for (const BatchCase& batchCase : cases) files.push_back(batchCase.casePath);
  files.insert(files.end(), kept.begin(), kept.end());
  return files;
}

// `batch CASES_DIR SUBMISSIONS_DIR ...`: the batch itself, step by step.
// `--compare last`: the newest run of the history, or no comparison on the
// first run.
RunOptions withLastRunResolved(RunOptions options) {
  if (options.comparePath != CompareWithLast) return options;
  options.comparePath = newestInHistory(options.historyFolder);
  if (options.comparePath.empty())
    std::fprintf(stderr, "Skedomat: opozorilo: v zgodovini %s se ni rezultatov; primerjave ni.\n",
                 quotedWord(options.historyFolder).c_str());
  return options;
}

int runCases(const RunOptions& given, const std::vector<std::string>& arguments) {
  const RunOptions options = withLastRunResolved(given);
  const Provenance provenance = provenanceOf(arguments, options.runs, options.solveCommand);
  checkFolders(options);
  EarlierFiles earlier;
  readEarlierFiles(options, earlier);
  std::vector<BatchCase> cases = findCases(options);
  const std::string program = platform::executablePath();
  if (program.empty()) failBatch("pot do programa ni znana.");
  const std::vector<std::string> inputs = inputsOf(options, cases);
  const std::vector<std::string> kept = keptOutputsOf(options, cases);
  checkKeptOutputs(kept, inputs);
  BatchFolders folders(options);
  BatchOutputs outputs;
  std::vector<std::string> inUse = inputs;
  inUse.insert(inUse.end(), kept.begin(), kept.end());
  openOutputs(options, provenance, inUse, outputs);

  InterruptsDeferred stopCleanly;
  if (!options.solveCommand.empty())
    solveCases(options, folders.evaluation().scratch, protectedFromSolvers(options, cases, kept),
               cases);
  evaluateCases(options, program, folders.evaluation(), cases);
  return finishBatch(options, provenance, cases, earlier, outputs);
}

std::vector<std::string> wordsAfter(const std::vector<std::string>& arguments, size_t first) {
  if (arguments.size() <= first) return {};
  return std::vector<std::string>(arguments.begin() + static_cast<std::ptrdiff_t>(first),
                                  arguments.end());
}

}  // namespace

int runBatch(const std::vector<std::string>& arguments) {
  const std::vector<std::string> words = wordsAfter(arguments, 2);
  const std::string mode = words.empty() ? std::string() : words[0];
  if (mode == "--merge") {
    MergeOptions options;
    const std::string reason = parseMergeOptions(wordsAfter(words, 1), options);
    if (!reason.empty()) return usageError("batch --merge: " + reason, batchUsage());
    return runGuarded([&options] { return mergeResults(options); });
  }
  if (mode == "--history" && words.size() == 2) {
    const std::string folder = words[1];
    return runGuarded([&folder] { return listHistory(folder); });
  }
  if (mode == "--page") {
    PageOptions options;
    const std::string reason = parsePageOptions(wordsAfter(words, 1), options);
    if (!reason.empty()) return usageError("batch --page: " + reason, batchUsage());
    return runGuarded([&options] { return pageOfResults(options); });
  }
  RunOptions options;
  const std::string reason = parseRunOptions(words, options);
  if (!reason.empty()) return usageError("batch: " + reason, batchUsage());
  return runGuarded([&options, &arguments] { return runCases(options, arguments); });
}
