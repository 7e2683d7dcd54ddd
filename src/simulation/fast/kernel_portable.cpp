#include "simulation/fast/choice_kernels.h"

int32_t selectViewersPortable(const ChoiceInputs& inputs, int32_t first,
                              int32_t count, const uint32_t* draws,
                              int32_t* selected) {
  int32_t n = 0;
  for (int32_t i = 0; i < count; ++i) {
    const int32_t j = first + i;
    // Written unconditionally, kept only when the draw hits: no branch on a
    // coin toss.
    selected[n] = j;
    n += drawsBelow(draws[i], chanceOf(inputs, j)) ? 1 : 0;
  }
  return n;
}
