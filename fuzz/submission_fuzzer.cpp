// Feeds arbitrary bytes to the submission reader and, when they read as a
// schedule, validates it against a small fixed test case. Reading must either
// succeed or raise EAssertion; a schedule that validation accepts must be in
// range, in start order and free of overlaps.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "base/assertion.h"
#include "base/input_file.h"
#include "scratch_files.h"
#include "submission/problem_sink.h"
#include "submission/submission.h"
#include "testcase/test_case.h"

namespace {

// Three films of one, ninety and a thousand minutes, two viewers.
TestCase makeTestCase(int32_t caseNo) {
  TestCase testCase;
  testCase.caseNo = caseNo;
  for (int32_t runtime : {1, 90, 1000}) {
    Movie movie;
    movie.seqNo = static_cast<int32_t>(testCase.movies.size());
    movie.runtime = runtime;
    testCase.movies.push_back(movie);
  }
  testCase.nMovies = static_cast<int32_t>(testCase.movies.size());
  testCase.viewers.resize(2);
  testCase.nViewers = 2;
  testCase.nSeats = 1;
  return testCase;
}

// What the simulation relies on in a schedule that validation accepted.
void checkAdmissible(const Submission& submission) {
  const std::vector<Screening>& screenings = submission.screenings;
  if (submission.order.size() != screenings.size()) std::abort();
  for (size_t p = 0; p < submission.order.size(); p++) {
    const Screening& screening = screenings.at(submission.order[p]);
    if (screening.start < 0 || screening.end > MinutesPerYear) std::abort();
    if (screening.start >= screening.end) std::abort();
    if (p > 0 && screenings.at(submission.order[p - 1]).end > screening.start)
      std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string path = writeScratchFile("submission.txt", data, size);
  Submission submission;
  try {
    InputFile is(path);
    submission.read(is);
  } catch (const EAssertion&) {
    return 0;
  }
  // The case numbers agree, so that validation goes on to the screenings.
  TestCase testCase = makeTestCase(submission.caseNo);
  std::ostringstream messages;
  ProblemLineWriter problems(messages);
  if (submission.validate(testCase, problems)) {
    if (!messages.str().empty()) std::abort();
    checkAdmissible(submission);
  } else if (messages.str().empty()) {
    std::abort();
  }
  return 0;
}
