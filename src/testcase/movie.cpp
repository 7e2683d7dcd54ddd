#include "testcase/movie.h"

#include "base/assertion.h"
#include "base/input_file.h"
#include "base/scan.h"

void Movie::read(InputFile& is, std::vector<std::string>& genreNames) {
  std::string s;
  int ok = 0;

  is.getline(s);
  Assert(! is.fail());
  ok = scanText(s, "%d", {seqNo});
  Assert(ok == 1);

  // The identifier must begin with the letters tt at the very start of the line.
  is.getline(s);
  Assert(! is.fail());
  ok = scanText(s, "tt%d", {ttNo});
  Assert(ok == 1);

  // The title is the whole line, and may be empty.
  is.getline(title);
  Assert(! is.fail());

  is.getline(s);
  Assert(! is.fail());
  ok = scanText(s, "%d", {runtime});
  Assert(ok == 1);
  Assert(1 <= runtime);

  // A rating that is not a number fails the range check: every comparison
  // with it is false.
  is.getline(s);
  Assert(! is.fail());
  ok = scanText(s, "%lf", {rating});
  Assert(ok == 1);
  Assert(0 <= rating && rating <= 10);

  readGenres(is, genres, genreNames);
}
