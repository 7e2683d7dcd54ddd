#ifndef SKEDOMAT_BATCH_CASE_FEATURES_H
#define SKEDOMAT_BATCH_CASE_FEATURES_H

#include <cstdint>
#include <memory>
#include <string>

// The sizes of a case that tell where a solver does well or badly: films,
// viewers and seats of the test case, screenings of the submission. Read
// by the evaluator's own readers, the test case only as far as the viewers,
// so that reading them costs little beside the evaluation; a size that
// cannot be read (a faulty submission's screenings among them) is -1.
struct CaseFeatures {
  int32_t nMovies = -1;
  int32_t nViewers = -1;
  int32_t nSeats = -1;
  int32_t nScreenings = -1;
};

// Reads the features of one case after another. The test case and the
// submission it reads into are kept from case to case, so that their lists
// keep the room they have grown to: a batch of many small cases does not
// pay for growing them anew each time.
class CaseFeatureReader {
 public:
  CaseFeatureReader();
  ~CaseFeatureReader();
  CaseFeatureReader(const CaseFeatureReader&) = delete;
  CaseFeatureReader& operator=(const CaseFeatureReader&) = delete;

  CaseFeatures read(const std::string& testCasePath, const std::string& submissionPath);

 private:
  struct Files;
  std::unique_ptr<Files> files_;
};

#endif  // SKEDOMAT_BATCH_CASE_FEATURES_H
