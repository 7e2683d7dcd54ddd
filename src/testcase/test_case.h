#ifndef SKEDOMAT_TESTCASE_TEST_CASE_H
#define SKEDOMAT_TESTCASE_TEST_CASE_H

#include <cstdint>
#include <string>
#include <vector>

#include "testcase/movie.h"
#include "testcase/viewer.h"

// One test case of the scheduling task: the films, the viewers, the names of
// the genres they share and the size of the hall. Filled once by `read`, then
// only read. Films and viewers are identified by their index.
struct TestCase {
  // Fills every field from the test-case file; raises EAssertion at the first
  // fault of the file.
  void read(const std::string& fileName);
  // Reads the file as `read` does as far as the viewers: fills caseNo, the
  // films, nViewers, nSeats and the genres the films name, and raises
  // EAssertion at the first fault before the viewers. A field the reading
  // did not reach keeps its value.
  void readUpToViewers(const std::string& fileName);

  int32_t caseNo = 0;
  std::vector<Movie> movies;
  int32_t nMovies = 0;
  std::vector<Viewer> viewers;
  int32_t nViewers = 0;
  int32_t nSeats = 0;
  std::vector<std::string> genreNames;
};

#endif  // SKEDOMAT_TESTCASE_TEST_CASE_H
