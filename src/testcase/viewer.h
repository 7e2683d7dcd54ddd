#ifndef SKEDOMAT_TESTCASE_VIEWER_H
#define SKEDOMAT_TESTCASE_VIEWER_H

#include <cstdint>
#include <string>
#include <vector>

#include "testcase/genres.h"

class InputFile;

// A potential viewer: when in the day they like to go, and what they like.
struct Viewer {
  // Reads one viewer block, which may extend `genreNames`.
  void read(InputFile& is, std::vector<std::string>& genreNames);

  int32_t preferredTime = 0;  // minutes after midnight, 0 .. 1439
  GenreSet genres = 0;
};

#endif  // SKEDOMAT_TESTCASE_VIEWER_H
