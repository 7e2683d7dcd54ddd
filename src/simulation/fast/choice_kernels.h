#ifndef SKEDOMAT_SIMULATION_FAST_CHOICE_KERNELS_H
#define SKEDOMAT_SIMULATION_FAST_CHOICE_KERNELS_H

#include <cstdint>

#include "simulation/fast/choice_inputs.h"

// The inner loop of the batched choice model: for a range of viewers, the
// chance of each (see chanceOf) and the test of the viewer's draw against
// it. One kernel in portable C++ and one per instruction set, each giving
// the same viewers from the same draws.

// Tests the viewers first .. first + count - 1 against the draws
// draws[0 .. count - 1] and writes the indices of those who want a ticket,
// ascending, to selected[0 ..]; returns how many. `selected` must have room
// for count + 8 entries (vector kernels store whole registers).
typedef int32_t (*ChoiceKernel)(const ChoiceInputs& inputs, int32_t first,
                                int32_t count, const uint32_t* draws,
                                int32_t* selected);

int32_t selectViewersPortable(const ChoiceInputs& inputs, int32_t first,
                              int32_t count, const uint32_t* draws,
                              int32_t* selected);
// The next two exist in every build but may only be called when the
// matching processorRuns... function is true.
int32_t selectViewersSse2(const ChoiceInputs& inputs, int32_t first,
                          int32_t count, const uint32_t* draws,
                          int32_t* selected);
int32_t selectViewersAvx2(const ChoiceInputs& inputs, int32_t first,
                          int32_t count, const uint32_t* draws,
                          int32_t* selected);

bool processorRunsSse2Kernel();
bool processorRunsAvx2Kernel();

// The AVX2 kernel tests viewers in groups of 32, from a viewer index that is
// a multiple of 32. It narrows the draws to their top bytes with two rounds
// of packing instructions, which interleave the halves of their registers;
// so that the times line up with the draws without reordering at run time,
// the preferred times of a group are stored in the order of the packed
// 16-bit values, in which position P holds the group's viewer P with bits 2
// and 3 swapped (ViewerColumns::groupedTime).
const int32_t VectorGroup = 32;
inline int32_t groupedViewerOf(int32_t position) {
  return (position & ~12) | (position & 4) << 1 | (position & 8) >> 1;
}

#endif  // SKEDOMAT_SIMULATION_FAST_CHOICE_KERNELS_H
