#ifndef SKEDOMAT_SUBMISSION_SCREENING_H
#define SKEDOMAT_SUBMISSION_SCREENING_H

#include <cstdint>

#include "base/calendar.h"

struct TestCase;

// One show of one film. The reader sets day, startMinute and movieNo;
// validation sets start and end, the minutes from the start of the year at
// which the show begins and after which it has ended. They are 64-bit so that
// no day or running time in a file can make them wrap.
struct Screening {
  // Sets start and end; a film number that names no film counts as a
  // running time of 0.
  void computeTimes(const TestCase& testCase);

  int32_t day = 0;
  int32_t startMinute = 0;
  int32_t movieNo = 0;
  int64_t start = 0;
  int64_t end = 0;
};

#endif  // SKEDOMAT_SUBMISSION_SCREENING_H
