#include "testcase/viewer.h"

#include "base/assertion.h"
#include "base/input_file.h"
#include "base/scan.h"

void Viewer::read(InputFile& is, std::vector<std::string>& genreNames) {
  // The time of day is written hh:mm; a one-digit hour may be padded with a
  // blank, since the conversion skips white space before a number.
  std::string s;
  is.getline(s);
  Assert(! is.fail());
  Assert(s.size() == 5);
  int32_t h = 0;
  int32_t m = 0;
  int ok = scanText(s, "%d:%d", {h, m});
  Assert(ok == 2);
  Assert(0 <= h && h < 24 && 0 <= m && m < 60);
  preferredTime = h * 60 + m;

  readGenres(is, genres, genreNames);
}
