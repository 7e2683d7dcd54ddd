// Feeds arbitrary bytes to the test-case reader. It must either fill the test
// case consistently or raise EAssertion; anything else (a crash, a sanitizer
// report, another exception) is a fault.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "base/assertion.h"
#include "scratch_files.h"
#include "testcase/genres.h"
#include "testcase/test_case.h"

namespace {

// What every successfully read test case guarantees to its users.
void checkConsistent(const TestCase& testCase) {
  if (testCase.movies.size() != static_cast<size_t>(testCase.nMovies)) std::abort();
  if (testCase.viewers.size() != static_cast<size_t>(testCase.nViewers)) std::abort();
  if (testCase.nViewers <= 0 || testCase.nSeats <= 0) std::abort();
  if (testCase.genreNames.size() > static_cast<size_t>(MaxGenres)) std::abort();
  for (size_t i = 0; i < testCase.movies.size(); i++) {
    if (testCase.movies[i].seqNo != static_cast<int32_t>(i)) std::abort();
    if (testCase.movies[i].runtime < 1) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string path = writeScratchFile("input.txt", data, size);
  TestCase testCase;
  try {
    testCase.read(path);
  } catch (const EAssertion&) {
    return 0;
  }
  checkConsistent(testCase);
  return 0;
}
