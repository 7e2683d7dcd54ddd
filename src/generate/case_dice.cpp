#include "generate/case_dice.h"

#include <cstddef>

namespace {

const uint64_t Multiplier = 6364136223846793005ULL;
const uint64_t Increment = 1442695040888963407ULL;

}  // namespace

CaseDice::CaseDice(uint64_t seed) : state_(0) {
  next();
  state_ += seed;
  next();
}

uint32_t CaseDice::next() {
  const uint64_t old = state_;
  state_ = old * Multiplier + Increment;
  const uint32_t shifted = static_cast<uint32_t>(((old >> 18) ^ old) >> 27);
  const uint32_t rotation = static_cast<uint32_t>(old >> 59);
  return (shifted >> rotation) | (shifted << ((32 - rotation) & 31));
}

uint32_t CaseDice::below(uint64_t bound) {
  // The top bits of a 64-bit product, with the few outputs that would make
  // some results likelier than others drawn again.
  const uint64_t rejected = ((uint64_t(1) << 32) - bound) % bound;
  for (;;) {
    const uint64_t product = static_cast<uint64_t>(next()) * bound;
    if ((product & 0xFFFFFFFFULL) >= rejected) return static_cast<uint32_t>(product >> 32);
  }
}

int32_t CaseDice::between(int32_t lo, int32_t hi) {
  const uint64_t span = static_cast<uint64_t>(static_cast<int64_t>(hi) - lo) + 1;
  return static_cast<int32_t>(lo + static_cast<int64_t>(below(span)));
}

int32_t CaseDice::logUniform(int32_t lo, int32_t hi) {
  // Uniform candidates, each n kept with the chance lo / n.
  for (;;) {
    const int32_t n = between(lo, hi);
    if (static_cast<int32_t>(below(static_cast<uint64_t>(n))) < lo) return n;
  }
}

bool CaseDice::chance(uint32_t numerator, uint32_t denominator) {
  return below(denominator) < numerator;
}

int32_t CaseDice::weighted(const std::vector<uint32_t>& weights) {
  uint64_t total = 0;
  for (uint32_t weight : weights) total += weight;
  uint32_t pick = below(total);
  for (size_t i = 0; i < weights.size(); ++i) {
    if (pick < weights[i]) return static_cast<int32_t>(i);
    pick -= weights[i];
  }
  return static_cast<int32_t>(weights.size()) - 1;
}
