// Runs the whole evaluation on a test case and a submission cut from one fuzz
// input at the first separator line "#####". Whatever the files hold, the
// evaluation must exit with status 0 and leave a report in one of its forms.
//
// A valid schedule may ask for a long simulation (many screenings times many
// viewers) without being faulty; such inputs are skipped so that the fuzzer
// does not report them as timeouts.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/assertion.h"
#include "base/input_file.h"
#include "driver/evaluation.h"
#include "scratch_files.h"
#include "submission/submission.h"
#include "testcase/test_case.h"

namespace {

const char Separator[] = "\n#####\n";
// Viewer decisions per run above which an input is not evaluated.
const int64_t MaxViewerScreenings = 200000;

// True when both files read and their simulation would be long.
bool asksForLongSimulation(const std::string& testCasePath,
                           const std::string& submissionPath) {
  try {
    TestCase testCase;
    testCase.read(testCasePath);
    Submission submission;
    InputFile is(submissionPath);
    submission.read(is);
    return static_cast<int64_t>(testCase.nViewers) *
               static_cast<int64_t>(submission.screenings.size()) >
           MaxViewerScreenings;
  } catch (const EAssertion&) {
    return false;
  }
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  size_t begin = 0;
  while (begin < text.size()) {
    size_t lf = text.find('\n', begin);
    if (lf == std::string::npos) std::abort();  // every report line ends in LF
    result.push_back(text.substr(begin, lf - begin));
    begin = lf + 1;
  }
  return result;
}

bool startsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// The report is one of the four forms: "OK" with nine lines ending in the
// score, or an error form whose last line is "-1".
void checkReportForm(const std::string& report) {
  std::vector<std::string> reportLines = lines(report);
  if (reportLines.size() < 2) std::abort();
  const std::string& first = reportLines.front();
  const std::string& last = reportLines.back();
  if (first == "OK") {
    if (reportLines.size() != 9 || last == "-1") std::abort();
    return;
  }
  if (last != "-1") std::abort();
  if (first != "V oddani datoteki so napake." && !startsWith(first, "Napaka [") &&
      !startsWith(first, "Nepricakovana napaka."))
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t cut = input.find(Separator);
  std::string testCase = cut == std::string::npos ? input : input.substr(0, cut + 1);
  std::string submission =
      cut == std::string::npos ? "" : input.substr(cut + sizeof Separator - 1);

  std::string testCasePath = writeScratchFile(
      "input.txt", reinterpret_cast<const uint8_t*>(testCase.data()), testCase.size());
  std::string submissionPath =
      writeScratchFile("submission.txt",
                       reinterpret_cast<const uint8_t*>(submission.data()),
                       submission.size());
  if (asksForLongSimulation(testCasePath, submissionPath)) return 0;

  std::string reportPath = scratchPath("report.txt");
  int status = runEval({"Skedomat", "eval", testCasePath, submissionPath, reportPath});
  if (status != ExitReportWritten) std::abort();
  checkReportForm(readWholeFile(reportPath));
  return 0;
}
