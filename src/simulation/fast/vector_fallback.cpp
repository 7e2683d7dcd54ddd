// The vector code's functions on processors other than x86-64, which have
// none of it: the portable code under the vector names, and no processor
// runs the vector kernels.

#include "simulation/fast/choice_kernels.h"
#include "simulation/fast/sfmt_vector.h"
#include "simulation/sfmt_block.h"

void extendSfmtVector(uint32_t* words, int32_t blocks) {
  extendSfmtPortable(words, blocks);
}

bool sfmtVectorIsNative() { return false; }

bool processorRunsSse2Kernel() { return false; }

bool processorRunsAvx2Kernel() { return false; }

int32_t selectViewersSse2(const ChoiceInputs& inputs, int32_t first,
                          int32_t count, const uint32_t* draws,
                          int32_t* selected) {
  return selectViewersPortable(inputs, first, count, draws, selected);
}

int32_t selectViewersAvx2(const ChoiceInputs& inputs, int32_t first,
                          int32_t count, const uint32_t* draws,
                          int32_t* selected) {
  return selectViewersPortable(inputs, first, count, draws, selected);
}
