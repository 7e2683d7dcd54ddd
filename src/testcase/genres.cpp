#include "testcase/genres.h"

#include "base/assertion.h"
#include "base/input_file.h"
#include "base/scan.h"

namespace {

// Makes `genreNames` long enough to hold an entry for `genre`.
void growGenreNames(int32_t genre, std::vector<std::string>& genreNames) {
  while (static_cast<int32_t>(genreNames.size()) <= genre)
    genreNames.push_back("");
}

// Reads one entry of a genre block, a number line and a name line, and adds
// the genre to `genres`. The first name given to a number binds it for the
// rest of the file.
void readGenreEntry(InputFile& is, GenreSet& genres,
                    std::vector<std::string>& genreNames) {
  std::string s;
  is.getline(s);
  Assert(! is.fail());
  int32_t genre = 0;
  int ok = scanText(s, "%d", {genre});
  Assert(ok == 1);
  Assert(0 <= genre);

  std::string genreName;
  is.getline(genreName);
  Assert(! is.fail());
  Assert(genreName != "");
  Assert(0 <= genre && genre < MaxGenres);

  growGenreNames(genre, genreNames);
  if (genreNames[genre] == "") genreNames[genre] = genreName;
  Assert(genreNames[genre] == genreName);
  Assert(((genres >> int(genre)) & 1) == 0);
  genres |= GenreSet(1) << genre;
}

}  // namespace

void readGenres(InputFile& is, GenreSet& genres,
                std::vector<std::string>& genreNames) {
  std::string s;
  is.getline(s);
  Assert(! is.fail());
  int32_t nGenres = 0;
  int ok = scanText(s, "%d", {nGenres});
  Assert(ok == 1);
  Assert(0 <= nGenres);

  genres = 0;
  for (int32_t i = 0; i < nGenres; i++) readGenreEntry(is, genres, genreNames);
}
