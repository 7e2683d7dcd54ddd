#include "simulation/sfmt_block.h"

#include "simulation/sfmt_parameters.h"

// The recursion on plain integers: the whole-word byte shifts are done on the
// two 64-bit halves of a 128-bit word.

namespace {

// A 128-bit word as two 64-bit halves.
struct Halves {
  uint64_t low;   // lanes 0 and 1
  uint64_t high;  // lanes 2 and 3
};

Halves toHalves(const uint32_t* word) {
  Halves h;
  h.low = static_cast<uint64_t>(word[0]) | static_cast<uint64_t>(word[1]) << 32;
  h.high = static_cast<uint64_t>(word[2]) | static_cast<uint64_t>(word[3])
                                                << 32;
  return h;
}

Halves shiftLeftWhole(Halves h) {
  Halves r;
  r.high = h.high << sfmt::WordShiftBits | h.low >> (64 - sfmt::WordShiftBits);
  r.low = h.low << sfmt::WordShiftBits;
  return r;
}

Halves shiftRightWhole(Halves h) {
  Halves r;
  r.low = h.low >> sfmt::WordShiftBits | h.high << (64 - sfmt::WordShiftBits);
  r.high = h.high >> sfmt::WordShiftBits;
  return r;
}

uint32_t lane(Halves h, int j) {
  uint64_t half = j < 2 ? h.low : h.high;
  return static_cast<uint32_t>(j % 2 == 0 ? half : half >> 32);
}

// Writes to `out` the recursion of the 128-bit word `a` of the block
// before, the pick-up word b and the two most recently produced words r1
// and r2 (r2 the newest).
void recurse(const uint32_t* a, const uint32_t* b, const uint32_t* r1,
             const uint32_t* r2, uint32_t* out) {
  Halves aLeft = shiftLeftWhole(toHalves(a));
  Halves r1Right = shiftRightWhole(toHalves(r1));
  for (int j = 0; j < 4; ++j) {
    out[j] = a[j] ^ lane(aLeft, j) ^
             ((b[j] >> sfmt::LaneShiftRight) & sfmt::Mask[j]) ^
             lane(r1Right, j) ^ (r2[j] << sfmt::LaneShiftLeft);
  }
}

}  // namespace

void extendSfmtPortable(uint32_t* words, int32_t blocks) {
  const int32_t end = sfmt::WordCount * (1 + blocks);
  for (int32_t n = sfmt::WordCount; n < end; ++n) {
    // The word a block back, and the pick-up word PickUp words after it.
    const uint32_t* a = words + 4 * (n - sfmt::WordCount);
    recurse(a, a + 4 * sfmt::PickUp, words + 4 * (n - 2), words + 4 * (n - 1),
            words + 4 * n);
  }
}
