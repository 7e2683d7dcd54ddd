#ifndef SKEDOMAT_SIMULATION_SFMT_BLOCK_H
#define SKEDOMAT_SIMULATION_SFMT_BLOCK_H

#include <cstdint>

// One regeneration of an SFMT19937 state of 624 32-bit words (156 words of
// 128 bits, word k made of the lanes 4k .. 4k + 3), in place. Both functions
// give the same words; the vector one is the one the generator uses.

// On plain 64-bit integers, for every processor.
void regenerateSfmtPortable(uint32_t* state);

// With 128-bit vector operations where the processor has them (SSE2 on every
// x86-64); elsewhere the portable one.
void regenerateSfmtVector(uint32_t* state);

// True when regenerateSfmtVector runs vector code in this build.
bool sfmtVectorIsNative();

#endif  // SKEDOMAT_SIMULATION_SFMT_BLOCK_H
