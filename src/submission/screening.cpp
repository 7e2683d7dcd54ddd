#include "submission/screening.h"

#include "base/calendar.h"
#include "testcase/test_case.h"

namespace {

// The running time of film `movieNo`, or 0 when no film has that number, so
// that a screening of an unknown film still gets well-defined times.
int64_t runtimeOf(const TestCase& testCase, int32_t movieNo) {
  if (movieNo < 0 || static_cast<size_t>(movieNo) >= testCase.movies.size())
    return 0;
  return testCase.movies[movieNo].runtime;
}

}  // namespace

void Screening::computeTimes(const TestCase& testCase) {
  // 64-bit throughout: no day, minute or running time of 32 bits can overflow.
  start = day * MinutesPerDay + startMinute;
  end = start + runtimeOf(testCase, movieNo);
}
