#include "batch/case_features.h"

#include <filesystem>
#include <system_error>

#include "base/assertion.h"
#include "base/input_file.h"
#include "submission/submission.h"
#include "testcase/test_case.h"

namespace {

const int32_t Unknown = -1;

void readTestCaseFeatures(const std::string& path, TestCase& testCase,
                          CaseFeatures& features) {
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

void readSubmissionFeatures(const std::string& path, Submission& submission,
                            CaseFeatures& features) {
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

struct CaseFeatureReader::Files {
  TestCase testCase;
  Submission submission;
};

CaseFeatureReader::CaseFeatureReader() : files_(std::make_unique<Files>()) {}

CaseFeatureReader::~CaseFeatureReader() = default;

CaseFeatures CaseFeatureReader::read(const std::string& testCasePath,
                                     const std::string& submissionPath) {
  CaseFeatures features;
  if (isRegularFile(testCasePath))
    readTestCaseFeatures(testCasePath, files_->testCase, features);
  if (isRegularFile(submissionPath))
    readSubmissionFeatures(submissionPath, files_->submission, features);
  return features;
}
