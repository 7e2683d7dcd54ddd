#include "batch/case_features.h"

#include <filesystem>
#include <system_error>

#include "base/assertion.h"
#include "base/input_file.h"
#include "submission/submission.h"
#include "testcase/test_case.h"

namespace {

const int32_t Unknown = -1;

void readTestCaseFeatures(const std::string& path, CaseFeatures& features) {
  TestCase testCase;
  testCase.nMovies = testCase.nViewers = testCase.nSeats = Unknown;
  try {
    testCase.readUpToViewers(path);
  } catch (const EAssertion&) {
    // The sizes read before the fault stand.
  }
  features.nMovies = testCase.nMovies < 0 ? Unknown : testCase.nMovies;
  features.nViewers = testCase.nViewers < 0 ? Unknown : testCase.nViewers;
  features.nSeats = testCase.nSeats < 0 ? Unknown : testCase.nSeats;
}

void readSubmissionFeatures(const std::string& path, CaseFeatures& features) {
  Submission submission;
  try {
    InputFile is(path);
    submission.read(is);
  } catch (const EAssertion&) {
    return;
  }
  features.nScreenings = static_cast<int32_t>(submission.screenings.size());
}

// Only a regular file is opened: a FIFO would hold the batch forever.
bool isRegularFile(const std::string& path) {
  std::error_code code;
  return std::filesystem::is_regular_file(std::filesystem::u8path(path), code);
}

}  // namespace

CaseFeatures readCaseFeatures(const std::string& testCasePath,
                              const std::string& submissionPath) {
  CaseFeatures features;
  if (isRegularFile(testCasePath)) readTestCaseFeatures(testCasePath, features);
  if (isRegularFile(submissionPath)) readSubmissionFeatures(submissionPath, features);
  return features;
}
