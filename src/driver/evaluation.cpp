#include "driver/evaluation.h"

#include <cstdint>
#include <cstdio>
#include <sstream>

#include "driver/assertion.h"
#include "driver/cpu_timer.h"
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

const int32_t DefaultRunCount = 3;
const uint32_t FirstSeed = 123;

int usageError() {
  std::fputs(
      "Uporaba: Skedomat eval input.txt submission.txt report.txt "
      "[nSimulacij]\n[Default: 3 simulacije.]\n",
      stdout);
  return ExitUsage;
}

// The process cannot deliver a report: one line on standard error.
int reportNotWritten(const std::string& message) {
  std::fprintf(stderr, "Skedomat: %s\n", message.c_str());
  return ExitNoReport;
}

// `nSimulacij` converts as "%d" does and must be positive.
bool parseRunCount(const std::string& text, int32_t& nSimulacij) {
  return scanText(text, "%d", {nSimulacij}) == 1 && nSimulacij > 0;
}

// Reads, validates and runs; writes whichever form of the report results.
// The one place where failures of the evaluation are caught.
void evaluate(const std::string& testCasePath, const std::string& submissionPath,
              int32_t nSimulacij, ReportFile& report) {
  try {
    TestCase testCase;
    testCase.read(testCasePath);
    Submission submission;
    {
      InputFile is(submissionPath);
      submission.read(is);
    }
    std::ostringstream messages;
    if (!submission.validate(testCase, messages)) {
      writeInvalidSubmission(report, messages.str());
      return;
    }
    RunStatistics statistics;
    CpuTimer timer;
    timer.start();
    for (int32_t i = 0; i < nSimulacij; i++) {
      RandomSource::seed(FirstSeed + static_cast<uint32_t>(i));
      Simulation simulation(testCase);
      simulation.run(submission);
      statistics.add(simulation.nTicketsSold);
    }
    timer.stop();
    writeSuccessReport(report, nSimulacij, timer.elapsed(), statistics);
  } catch (const EAssertion& failure) {
    writeCheckFailure(report, failure);
  } catch (...) {
    writeUnexpectedError(report);
  }
}

}  // namespace

int runEval(const std::vector<std::string>& arguments) {
  if (arguments.size() < 5) return usageError();
  const std::string& testCasePath = arguments[2];
  const std::string& submissionPath = arguments[3];
  const std::string& reportPath = arguments[4];
  int32_t nSimulacij = DefaultRunCount;
  if (arguments.size() > 5 && !parseRunCount(arguments[5], nSimulacij))
    return usageError();

  // Opening the report truncates it, so it must not be one of the inputs.
  for (const std::string* input : {&testCasePath, &submissionPath}) {
    if (platform::sameExistingFile(reportPath, *input))
      return reportNotWritten("datoteka za porocilo \"" + reportPath +
                              "\" je vhodna datoteka \"" + *input +
                              "\"; ostala je nespremenjena.");
  }
  ReportFile report;
  if (!report.open(reportPath))
    return reportNotWritten("datoteke za porocilo \"" + reportPath +
                            "\" ni mogoce ustvariti: " +
                            platform::lastErrorText());
  evaluate(testCasePath, submissionPath, nSimulacij, report);
  if (!report.close())
    return reportNotWritten("porocila \"" + reportPath +
                            "\" ni bilo mogoce zapisati: " +
                            platform::lastErrorText());
  return ExitReportWritten;
}

int runCommand(const std::vector<std::string>& arguments) {
  if (arguments.size() >= 2 && arguments[1] == "eval") return runEval(arguments);
  return usageError();
}
