#ifndef SKEDOMAT_SIMULATION_FAST_SFMT_VECTOR_H
#define SKEDOMAT_SIMULATION_FAST_SFMT_VECTOR_H

#include <cstdint>

// The regeneration of SFMT19937 blocks with 128-bit vector operations where
// the processor has them (SSE2 on every x86-64); elsewhere the portable one.
// It writes the same words as extendSfmtPortable (see sfmt_block.h), and is
// the one the generator uses.

void extendSfmtVector(uint32_t* words, int32_t blocks);

// True when extendSfmtVector runs vector code in this build.
bool sfmtVectorIsNative();

#endif  // SKEDOMAT_SIMULATION_FAST_SFMT_VECTOR_H
