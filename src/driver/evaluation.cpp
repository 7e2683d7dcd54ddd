#include "driver/evaluation.h"

#include <cstdint>
#include <cstdio>
#include <sstream>

#include "driver/assertion.h"
#include "driver/cpu_timer.h"
#include "driver/explain.h"
#include "driver/input_file.h"
#include "driver/platform.h"
#include "driver/report.h"
#include "driver/report_file.h"
#include "driver/run_statistics.h"
#include "driver/scan.h"
#include "simulation/random_source.h"
#include "simulation/simulation.h"
#include "submission/submission.h"
#include "testcase/test_case.h"

namespace {

const uint32_t FirstSeed = 123;

int usageError() {
  std::fputs(
      "Uporaba: Skedomat eval input.txt submission.txt report.txt "
      "[nSimulacij]\n[Default: 3 simulacije.]\n",
      stdout);
  return ExitUsage;
}

// `nSimulacij` converts as "%d" does and must be positive.
bool parseRunCount(const std::string& text, int32_t& nSimulacij) {
  return scanText(text, "%d", {nSimulacij}) == 1 && nSimulacij > 0;
}

// The plain text report of `eval`.
class TextReport : public EvaluationOutput {
 public:
  explicit TextReport(ReportFile& report) : report_(report) {}

  void writeSuccess(const TestCase&, const Submission&, int32_t nSimulacij,
                    int64_t elapsedTicks,
                    const RunStatistics& statistics) override {
    writeSuccessReport(report_, nSimulacij, elapsedTicks, statistics);
  }
  void writeInvalidSubmission(const TestCase&, const Submission&,
                              const std::string& messages) override {
    ::writeInvalidSubmission(report_, messages);
  }
  void writeCheckFailure(const EAssertion& failure, EvaluationStage) override {
    ::writeCheckFailure(report_, failure);
  }
  void writeUnexpectedError(EvaluationStage) override {
    ::writeUnexpectedError(report_);
  }

 private:
  ReportFile& report_;
};

}  // namespace

bool parseEvaluationArguments(const std::vector<std::string>& words,
                              EvaluationArguments& parsed) {
  if (words.size() < 3) return false;
  parsed.testCasePath = words[0];
  parsed.submissionPath = words[1];
  parsed.reportPath = words[2];
  return words.size() == 3 || parseRunCount(words[3], parsed.nSimulacij);
}

void EvaluationOutput::playRun(Simulation& simulation,
                               const Submission& submission) {
  simulation.run(submission);
}

void evaluate(const EvaluationArguments& arguments, EvaluationOutput& output) {
  EvaluationStage stage = EvaluationStage::ReadingTestCase;
  try {
    TestCase testCase;
    testCase.read(arguments.testCasePath);
    stage = EvaluationStage::ReadingSubmission;
    Submission submission;
    {
      InputFile is(arguments.submissionPath);
      submission.read(is);
    }
    stage = EvaluationStage::Validating;
    std::ostringstream messages;
    if (!submission.validate(testCase, messages)) {
      stage = EvaluationStage::Writing;
      output.writeInvalidSubmission(testCase, submission, messages.str());
      return;
    }
    stage = EvaluationStage::Running;
    RunStatistics statistics;
    CpuTimer timer;
    timer.start();
    for (int32_t i = 0; i < arguments.nSimulacij; i++) {
      RandomSource::seed(FirstSeed + static_cast<uint32_t>(i));
      Simulation simulation(testCase);
      output.playRun(simulation, submission);
      statistics.add(simulation.nTicketsSold);
    }
    timer.stop();
    stage = EvaluationStage::Writing;
    output.writeSuccess(testCase, submission, arguments.nSimulacij,
                        timer.elapsed(), statistics);
  } catch (const EAssertion& failure) {
    output.writeCheckFailure(failure, stage);
  } catch (...) {
    output.writeUnexpectedError(stage);
  }
}

int outputNotWritten(const std::string& message) {
  std::fprintf(stderr, "Skedomat: %s\n", message.c_str());
  return ExitNoReport;
}

int checkOutputPath(const EvaluationArguments& arguments,
                    const std::string& path) {
  for (const std::string* input :
       {&arguments.testCasePath, &arguments.submissionPath}) {
    if (platform::sameExistingFile(path, *input))
      return outputNotWritten("datoteka za porocilo \"" + path +
                              "\" je vhodna datoteka \"" + *input +
                              "\"; ostala je nespremenjena.");
  }
  return ExitReportWritten;
}

int openOutputFile(const EvaluationArguments& arguments,
                   const std::string& path, ReportFile& file) {
  int status = checkOutputPath(arguments, path);
  if (status != ExitReportWritten) return status;
  if (!file.open(path))
    return outputNotWritten("datoteke za porocilo \"" + path +
                            "\" ni mogoce ustvariti: " +
                            platform::lastErrorText());
  return ExitReportWritten;
}

int closeOutputFile(const std::string& path, ReportFile& file) {
  if (!file.close())
    return outputNotWritten("porocila \"" + path +
                            "\" ni bilo mogoce zapisati: " +
                            platform::lastErrorText());
  return ExitReportWritten;
}

int runEval(const std::vector<std::string>& arguments) {
  EvaluationArguments parsed;
  if (arguments.size() < 2 ||
      !parseEvaluationArguments(
          std::vector<std::string>(arguments.begin() + 2, arguments.end()),
          parsed))
    return usageError();
  ReportFile report;
  int status = openOutputFile(parsed, parsed.reportPath, report);
  if (status != ExitReportWritten) return status;
  TextReport output(report);
  evaluate(parsed, output);
  return closeOutputFile(parsed.reportPath, report);
}

int runCommand(const std::vector<std::string>& arguments) {
  if (arguments.size() >= 2 && arguments[1] == "eval") return runEval(arguments);
  if (arguments.size() >= 2 && arguments[1] == "explain")
    return runExplain(arguments);
  return usageError();
}
