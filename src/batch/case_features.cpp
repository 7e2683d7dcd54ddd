#include "batch/case_features.h"

#include "base/input_file.h"
#include "base/scan.h"

namespace {

// Reads the next line and the integer at its start; false when either is
// missing.
bool readInteger(InputFile& is, int32_t& value) {
  std::string line;
  return is.getline(line) && scanText(line, "%d", {value}) == 1;
}

bool skipLines(InputFile& is, int32_t count) {
  std::string line;
  for (int32_t i = 0; i < count; ++i)
    if (!is.getline(line)) return false;
  return true;
}

// A film block: number, identifier, title, running time, rating, then the
// genre count and a number and a name line per genre.
bool skipFilm(InputFile& is) {
  int32_t nGenres = 0;
  return skipLines(is, 5) && readInteger(is, nGenres) && nGenres >= 0 &&
         nGenres <= 32 && skipLines(is, 2 * nGenres);
}

void readTestCaseFeatures(const std::string& path, CaseFeatures& features) {
  InputFile is(path);
  int32_t caseNo = 0, nMovies = 0;
  if (!skipLines(is, 1) || !readInteger(is, caseNo) || !readInteger(is, nMovies) ||
      nMovies < 0)
    return;
  features.nMovies = nMovies;
  for (int32_t m = 0; m < nMovies; ++m)
    if (!skipFilm(is)) return;
  std::string line;
  int32_t nViewers = 0, nSeats = 0;
  if (is.getline(line) && scanText(line, "%d %d", {nViewers, nSeats}) == 2) {
    features.nViewers = nViewers;
    features.nSeats = nSeats;
  }
}

}  // namespace

CaseFeatures readCaseFeatures(const std::string& testCasePath,
                              const std::string& submissionPath) {
  CaseFeatures features;
  readTestCaseFeatures(testCasePath, features);
  InputFile is(submissionPath);
  int32_t nScreenings = 0;
  if (skipLines(is, 3) && readInteger(is, nScreenings)) features.nScreenings = nScreenings;
  return features;
}
