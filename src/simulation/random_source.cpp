#include "simulation/random_source.h"

// SFMT19937 on plain integers. The state is 156 words of 128 bits; 128-bit
// word k is made of the 32-bit lanes state_[4k] (least significant) to
// state_[4k + 3]. The whole-word byte shifts of the recursion are done on the
// two 64-bit halves of a word.

namespace {

const int WordCount = 156;    // 128-bit words in the state
const int PickUp = 122;       // distance of the pick-up word
const int LaneShiftLeft = 18;
const int LaneShiftRight = 11;
const int WordShiftBits = 8;  // whole-word shifts, left and right alike
const uint32_t Mask[4] = {0xdfffffefU, 0xddfecb7fU, 0xbffaffffU, 0xbffffff6U};
const uint32_t Parity[4] = {0x00000001U, 0x00000000U, 0x00000000U,
                            0x13c9e684U};
const uint32_t InitMultiplier = 1812433253U;

// A 128-bit word as two 64-bit halves.
struct Halves {
  uint64_t low;   // lanes 0 and 1
  uint64_t high;  // lanes 2 and 3
};

Halves toHalves(const uint32_t* word) {
  Halves h;
  h.low = static_cast<uint64_t>(word[0]) | static_cast<uint64_t>(word[1]) << 32;
  h.high =
      static_cast<uint64_t>(word[2]) | static_cast<uint64_t>(word[3]) << 32;
  return h;
}

Halves shiftLeftWhole(Halves h) {
  Halves r;
  r.high = h.high << WordShiftBits | h.low >> (64 - WordShiftBits);
  r.low = h.low << WordShiftBits;
  return r;
}

Halves shiftRightWhole(Halves h) {
  Halves r;
  r.low = h.low >> WordShiftBits | h.high << (64 - WordShiftBits);
  r.high = h.high >> WordShiftBits;
  return r;
}

uint32_t lane(Halves h, int j) {
  uint64_t half = j < 2 ? h.low : h.high;
  return static_cast<uint32_t>(j % 2 == 0 ? half : half >> 32);
}

// Replaces the 128-bit word `a` by the recursion of a, the pick-up word b
// and the two most recently produced words r1 and r2 (r2 the newest).
void recurse(uint32_t* a, const uint32_t* b, const uint32_t* r1,
             const uint32_t* r2) {
  Halves aLeft = shiftLeftWhole(toHalves(a));
  Halves r1Right = shiftRightWhole(toHalves(r1));
  for (int j = 0; j < 4; ++j) {
    a[j] = a[j] ^ lane(aLeft, j) ^ ((b[j] >> LaneShiftRight) & Mask[j]) ^
           lane(r1Right, j) ^ (r2[j] << LaneShiftLeft);
  }
}

}  // namespace

uint32_t RandomSource::state_[RandomSource::StateWords];
int32_t RandomSource::index_ = RandomSource::StateWords;

void RandomSource::seed(uint32_t seed) {
  state_[0] = seed;
  for (int i = 1; i < StateWords; ++i) {
    uint32_t previous = state_[i - 1];
    state_[i] = InitMultiplier * (previous ^ (previous >> 30)) +
                static_cast<uint32_t>(i);
  }
  index_ = StateWords;
  certifyPeriod();
}

uint32_t RandomSource::next32() {
  if (index_ >= StateWords) {
    regenerate();
    index_ = 0;
  }
  return state_[index_++];
}

double RandomSource::nextUnit() {
  const double TwoToMinus32 = 1.0 / 4294967296.0;
  return static_cast<double>(next32()) * TwoToMinus32;
}

int32_t RandomSource::nextBelow(int32_t n) {
  const uint64_t Range = uint64_t(1) << 32;
  const uint32_t count = static_cast<uint32_t>(n);
  // Outputs at or above the largest multiple of n below 2^32 would favour
  // the small results; they are drawn again.
  const uint64_t rem = Range % count;
  uint32_t r = next32();
  while (rem != 0 && r >= Range - rem) r = next32();
  return static_cast<int32_t>(r % count);
}

void RandomSource::certifyPeriod() {
  uint32_t inner = 0;
  for (int i = 0; i < 4; ++i) inner ^= state_[i] & Parity[i];
  for (int shift = 16; shift > 0; shift /= 2) inner ^= inner >> shift;
  if ((inner & 1) == 1) return;
  // Flip the lowest set bit of the parity vector in the state.
  for (int i = 0; i < 4; ++i) {
    for (int bit = 0; bit < 32; ++bit) {
      uint32_t flag = uint32_t(1) << bit;
      if ((Parity[i] & flag) != 0) {
        state_[i] ^= flag;
        return;
      }
    }
  }
}

void RandomSource::regenerate() {
  uint32_t* words = state_;
  const uint32_t* r1 = words + 4 * (WordCount - 2);
  const uint32_t* r2 = words + 4 * (WordCount - 1);
  for (int i = 0; i < WordCount; ++i) {
    // Below WordCount - PickUp the pick-up word is still of the old block;
    // from there on it is one of this block's new words.
    int pickUp = i < WordCount - PickUp ? i + PickUp : i + PickUp - WordCount;
    uint32_t* word = words + 4 * i;
    recurse(word, words + 4 * pickUp, r1, r2);
    r1 = r2;
    r2 = word;
  }
}
