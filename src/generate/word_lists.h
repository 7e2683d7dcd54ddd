#ifndef SKEDOMAT_GENERATE_WORD_LISTS_H
#define SKEDOMAT_GENERATE_WORD_LISTS_H

#include <cstdint>

// The names the generator composes test cases from. Slovenian words carry
// č, š and ž as Windows-1250 bytes (0xE8, 0x9A, 0x9E; capitals 0xC8, 0x8A,
// 0x8E), as the contest's own files do.

// Genre names, the most popular first; a case uses the first 15 to 32.
extern const char* const GenreNames[32];

// Words of film titles: a title is one to three of them.
extern const char* const TitleWords[];
extern const int32_t NTitleWords;

#endif  // SKEDOMAT_GENERATE_WORD_LISTS_H
