#ifndef SKEDOMAT_TESTCASE_GENRES_H
#define SKEDOMAT_TESTCASE_GENRES_H

#include <cstdint>
#include <string>
#include <vector>

class InputFile;

// A set of genres: bit g of the word stands for genre g.
typedef uint32_t GenreSet;

// Genres are numbered 0 .. MaxGenres - 1.
const int32_t MaxGenres = 32;

// Reads one genre block into `genres`, extending and checking `genreNames`,
// which binds each genre number to one name across the whole file.
void readGenres(InputFile& is, GenreSet& genres,
                std::vector<std::string>& genreNames);

#endif  // SKEDOMAT_TESTCASE_GENRES_H
