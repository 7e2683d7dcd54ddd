#ifndef SKEDOMAT_SIMULATION_SFMT_BLOCK_H
#define SKEDOMAT_SIMULATION_SFMT_BLOCK_H

#include <cstdint>

// The regeneration of SFMT19937 blocks of 624 32-bit words (156 words of
// 128 bits, word k made of the lanes 4k .. 4k + 3). Each new 128-bit word n
// depends only on the words n - 156, n - 34, n - 2 and n - 1 before it, so
// one block after another can be written out in one array: given a block in
// words[0 .. 623], extendSfmtPortable writes the `blocks` blocks that follow
// it to words[624 .. 624 x (1 + blocks) - 1], each the regeneration of the
// one before. This is the regeneration as defined, on plain 64-bit integers,
// for every processor; the generator runs a vector form of it that writes
// the same words (see fast/sfmt_vector.h).
void extendSfmtPortable(uint32_t* words, int32_t blocks);

#endif  // SKEDOMAT_SIMULATION_SFMT_BLOCK_H
