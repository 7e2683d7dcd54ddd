#include "testcase/test_case.h"

#include "base/assertion.h"
#include "base/input_file.h"
#include "base/scan.h"

namespace {

// Lines 1 to 3: the word Tavo, the case number and the number of films.
void readHead(InputFile& is, int32_t& caseNo, int32_t& nMovies) {
  std::string s;
  is.getline(s);
  Assert(! is.fail());
  Assert(s == "Tavo");

  is.getline(s);
  Assert(! is.fail());
  int ok = scanText(s, "%d", {caseNo});
  Assert(ok == 1);
  Assert(caseNo >= 0);

  is.getline(s);
  Assert(! is.fail());
  ok = scanText(s, "%d", {nMovies});
  Assert(ok == 1);
  Assert(nMovies >= 0);
}

// The film blocks. The list grows one film per block read, so a declared
// count that the file does not back fails at the first missing line instead
// of reserving memory for it.
void readMovies(InputFile& is, int32_t nMovies, std::vector<Movie>& movies,
                std::vector<std::string>& genreNames) {
  movies.clear();
  for (int32_t i = 0; i < nMovies; i++) {
    Movie movie;
    movie.read(is, genreNames);
    // Checked only after the whole block, so a fault inside it comes first.
    Assert(movie.seqNo == i);
    movies.push_back(movie);
  }
}

// The line after the films: the number of viewers and the number of seats.
void readHall(InputFile& is, int32_t& nViewers, int32_t& nSeats) {
  std::string s;
  is.getline(s);
  Assert(! is.fail());
  int ok = scanText(s, "%d %d", {nViewers, nSeats});
  Assert(ok == 2);
  Assert(nViewers > 0);
  Assert(nSeats > 0);
}

void readViewers(InputFile& is, int32_t nViewers, std::vector<Viewer>& viewers,
                 std::vector<std::string>& genreNames) {
  viewers.clear();
  for (int32_t i = 0; i < nViewers; i++) {
    Viewer viewer;
    viewer.read(is, genreNames);
    viewers.push_back(viewer);
  }
}

// Nothing may follow the last viewer block, not even one empty line.
void checkEndOfFile(InputFile& is) {
  char c = 0;
  is.get(c);
  Assert(is.eof());
}

// Everything before the viewer blocks.
void readFilmsAndHall(InputFile& is, TestCase& testCase) {
  testCase.genreNames.clear();
  readHead(is, testCase.caseNo, testCase.nMovies);
  readMovies(is, testCase.nMovies, testCase.movies, testCase.genreNames);
  readHall(is, testCase.nViewers, testCase.nSeats);
}

}  // namespace

void TestCase::read(const std::string& fileName) {
  // A file that cannot be opened starts failed, so its first line is missing.
  InputFile is(fileName);
  readFilmsAndHall(is, *this);
  readViewers(is, nViewers, viewers, genreNames);
  checkEndOfFile(is);
}

void TestCase::readUpToViewers(const std::string& fileName) {
  InputFile is(fileName);
  readFilmsAndHall(is, *this);
}
