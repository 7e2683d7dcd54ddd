#ifndef SKEDOMAT_SUBMISSION_SUBMISSION_H
#define SKEDOMAT_SUBMISSION_SUBMISSION_H

#include <cstdint>
#include <vector>

#include "submission/screening.h"

class InputFile;
class ProblemSink;
struct TestCase;

// The contestant's yearly schedule. Filled by `read`, completed by `validate`,
// then only read by the simulation runs.
struct Submission {
  // Reads the submission file; raises EAssertion with a Slovenian description
  // at the first form error.
  void read(InputFile& is);

  // Checks the schedule against the test case, handing every problem it
  // finds to `problems`; true when it is admissible. Sets start and end of
  // the screenings and fills `order` once every screening is in range.
  bool validate(const TestCase& testCase, ProblemSink& problems);

  std::vector<Screening> screenings;  // in file order
  int32_t caseNo = 0;
  int32_t contestantNo = 0;
  std::vector<int32_t> order;  // screening indexes by ascending start, then index
};

#endif  // SKEDOMAT_SUBMISSION_SUBMISSION_H
