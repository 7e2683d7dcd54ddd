#include "driver/evaluation.h"

#include <cstdint>
#include <cctype>
#include <cstdio>

#include "base/assertion.h"
#include "base/command_options.h"
#include "base/cpu_timer.h"
#include "base/input_file.h"
#include "base/output_delivery.h"
#include "base/output_file.h"
#include "base/platform.h"
#include "base/scan.h"
#include "base/usage_error.h"
#include "driver/run_progress.h"
#include "driver/run_statistics.h"
#include "driver/text_report.h"
#include "simulation/random_source.h"
#include "simulation/simulation.h"
#include "submission/submission.h"
#include "testcase/test_case.h"

namespace {

const uint32_t FirstSeed = 123;

// True when `text` holds more than the blanks, sign and digits that "%d"
// converts at its start and blanks after them.
bool hasTextAfterInteger(const std::string& text) {
  auto skip = [&text](size_t i, int (*belongs)(int)) {
    while (i < text.size() && belongs(static_cast<unsigned char>(text[i]))) ++i;
    return i;
  };
  size_t i = skip(0, std::isspace);
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  return skip(skip(i, std::isdigit), std::isspace) < text.size();
}

// `nSimulacij` converts as "%d" does and must be positive; the reason when
// it does not. What follows the number is ignored, with a warning: "1e3" is
// one run, not a thousand.
std::string parseRunCount(const std::string& text, int32_t& nSimulacij) {
  if (scanText(text, "%d", {nSimulacij}) != 1 || nSimulacij <= 0)
    return "nSimulacij " + quotedWord(text) + " ni pozitivno celo stevilo";
  if (hasTextAfterInteger(text))
    std::fprintf(stderr,
                 "Skedomat: opozorilo: nSimulacij \"%s\" je prebran kot %d "
                 "(besedilo za stevilom je prezrto).\n",
                 text.c_str(), static_cast<int>(nSimulacij));
  return std::string();
}

// One line on standard error when an input file cannot be read; the report
// still says what the evaluation makes of it.
void warnIfUnreadable(const std::string& path, const char* what) {
  const std::string problem = platform::inputProblem(path);
  if (!problem.empty())
    std::fprintf(stderr, "Skedomat: %s \"%s\" ni mogoce brati: %s\n", what,
                 path.c_str(), problem.c_str());
}

}  // namespace

const char* evalUsage() {
  return "Uporaba: Skedomat eval input.txt submission.txt report.txt "
         "[nSimulacij]\n[Default: 3 simulacije.]\n";
}

std::string parseEvaluationArguments(const std::vector<std::string>& words,
                                     EvaluationArguments& parsed) {
  static const char* const Missing[] = {"manjka datoteka s testnim primerom",
                                        "manjka datoteka z oddajo",
                                        "manjka datoteka za porocilo"};
  if (words.size() < 3) return Missing[words.size()];
  parsed.testCasePath = words[0];
  parsed.submissionPath = words[1];
  parsed.reportPath = words[2];
  return words.size() == 3 ? std::string() : parseRunCount(words[3], parsed.nSimulacij);
}

std::vector<std::string> EvaluationArguments::inputPaths() const {
  return {testCasePath, submissionPath};
}

void EvaluationOutput::playRun(Simulation& simulation,
                               const Submission& submission) {
  simulation.run(submission);
}

void evaluate(const EvaluationArguments& arguments, EvaluationOutput& output) {
  EvaluationStage stage = EvaluationStage::ReadingTestCase;
  RunProgress progress(arguments.nSimulacij);
  try {
    TestCase testCase;
    warnIfUnreadable(arguments.testCasePath, "testnega primera");
    testCase.read(arguments.testCasePath);
    stage = EvaluationStage::ReadingSubmission;
    Submission submission;
    {
      warnIfUnreadable(arguments.submissionPath, "oddane datoteke");
      InputFile is(arguments.submissionPath);
      submission.read(is);
    }
    stage = EvaluationStage::Validating;
    if (!submission.validate(testCase, output.validationProblems())) {
      stage = EvaluationStage::Writing;
      output.writeInvalidSubmission(testCase, submission);
      return;
    }
    stage = EvaluationStage::Running;
    RunStatistics statistics;
    CpuTimer timer;
    progress.startRuns();
    timer.start();
    for (int32_t i = 0; i < arguments.nSimulacij; i++) {
      RandomSource::seed(FirstSeed + static_cast<uint32_t>(i));
      Simulation simulation(testCase);
      output.playRun(simulation, submission);
      statistics.add(simulation.nTicketsSold);
      progress.runsDone(i + 1);
    }
    timer.stop();
    progress.clear();
    stage = EvaluationStage::Writing;
    output.writeSuccess(testCase, submission, arguments.nSimulacij,
                        timer.elapsed(), statistics);
  } catch (const EAssertion& failure) {
    output.writeCheckFailure(failure, stage);
  } catch (...) {
    output.writeUnexpectedError(stage);
  }
}

int openOutputFile(const EvaluationArguments& arguments,
                   const std::string& path, const std::string& what,
                   OutputFile& file) {
  return openOutputFile(arguments.inputPaths(), path, what, file,
                        OutputFile::LineEnds::Platform);
}

int runEval(const std::vector<std::string>& arguments) {
  EvaluationArguments parsed;
  const std::string reason = parseEvaluationArguments(
      std::vector<std::string>(arguments.begin() + 2, arguments.end()), parsed);
  if (!reason.empty()) return usageError(reason, evalUsage());
  OutputFile report;
  int status = openOutputFile(parsed, parsed.reportPath, "porocilo", report);
  if (status != ExitReportWritten) return status;
  {
    TextReport output(report);
    evaluate(parsed, output);
  }
  return deliverOutputFile(parsed.reportPath, report);
}
