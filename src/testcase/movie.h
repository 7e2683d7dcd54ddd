#ifndef SKEDOMAT_TESTCASE_MOVIE_H
#define SKEDOMAT_TESTCASE_MOVIE_H

#include <cstdint>
#include <string>
#include <vector>

#include "testcase/genres.h"

class InputFile;

// A film that the cinema may put on its programme.
struct Movie {
  // Reads one film block, which may extend `genreNames`.
  void read(InputFile& is, std::vector<std::string>& genreNames);

  int32_t seqNo = 0;
  int32_t ttNo = 0;
  std::string title;
  int32_t runtime = 0;  // minutes
  double rating = 0;    // 0 .. 10
  GenreSet genres = 0;
};

#endif  // SKEDOMAT_TESTCASE_MOVIE_H
