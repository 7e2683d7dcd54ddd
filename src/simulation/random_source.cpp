#include "simulation/random_source.h"

#include <algorithm>

#include "simulation/fast/sfmt_vector.h"
#include "simulation/sfmt_parameters.h"

// SFMT19937. The state is 156 words of 128 bits; 128-bit word k is made of
// the 32-bit lanes state[4k] (least significant) to state[4k + 3]. The
// state is the last block of state_: seeding writes it there, and every
// regeneration moves it to the front and writes the window of blocks after
// it. The regeneration itself is defined in sfmt_block.cpp; the generator
// runs its vector form (fast/sfmt_vector.h).

uint32_t RandomSource::state_[RandomSource::BufferWords];
int32_t RandomSource::index_ = RandomSource::BufferWords;

uint32_t* RandomSource::lastBlock() {
  return state_ + BufferWords - StateWords;
}

void RandomSource::seed(uint32_t seed) {
  uint32_t* const state = lastBlock();
  state[0] = seed;
  for (int i = 1; i < StateWords; ++i) {
    uint32_t previous = state[i - 1];
    state[i] = sfmt::InitMultiplier * (previous ^ (previous >> 30)) +
               static_cast<uint32_t>(i);
  }
  index_ = BufferWords;
  certifyPeriod();
}

uint32_t RandomSource::next32() {
  if (index_ >= BufferWords) regenerate();
  return state_[index_++];
}

double RandomSource::nextUnit() {
  const double TwoToMinus32 = 1.0 / 4294967296.0;
  return static_cast<double>(next32()) * TwoToMinus32;
}

int32_t RandomSource::nextBelow(int32_t n) {
  const uint32_t count = static_cast<uint32_t>(n);
  // Outputs at or above the largest multiple of n below 2^32, 2^32 - rem
  // with rem = 2^32 mod n, would favour the small results; they are drawn
  // again. Since rem < n, an output below 2^32 - n is never one of them:
  // only above it is rem needed, and its division is seldom done.
  uint32_t r = next32();
  if (r >= 0U - count) {
    // 2^32 mod n, in 32-bit arithmetic: 2^32 - n leaves the same remainder.
    const uint32_t rem = (0U - count) % count;
    while (rem != 0 && r >= 0U - rem) r = next32();
  }
  return static_cast<int32_t>(r % count);
}

int32_t RandomSource::nextOutputs(int32_t count, const uint32_t*& outputs) {
  if (index_ >= BufferWords) regenerate();
  const int32_t available = BufferWords - index_;
  const int32_t taken = count < available ? count : available;
  outputs = state_ + index_;
  index_ += taken;
  return taken;
}

void RandomSource::certifyPeriod() {
  uint32_t* const state = lastBlock();
  uint32_t inner = 0;
  for (int i = 0; i < 4; ++i) inner ^= state[i] & sfmt::Parity[i];
  for (int shift = 16; shift > 0; shift /= 2) inner ^= inner >> shift;
  if ((inner & 1) == 1) return;
  // Flip the lowest set bit of the parity vector in the state.
  for (int i = 0; i < 4; ++i) {
    for (int bit = 0; bit < 32; ++bit) {
      uint32_t flag = uint32_t(1) << bit;
      if ((sfmt::Parity[i] & flag) != 0) {
        state[i] ^= flag;
        return;
      }
    }
  }
}

void RandomSource::regenerate() {
  const uint32_t* const last = lastBlock();
  std::copy(last, last + StateWords, state_);
  extendSfmtVector(state_, WindowBlocks);
  index_ = StateWords;
}
