#ifndef SKEDOMAT_GENERATE_CASE_DICE_H
#define SKEDOMAT_GENERATE_CASE_DICE_H

#include <cstdint>
#include <vector>

// The random numbers of the test-case generator: a small permuted
// congruential generator and draws made from its outputs by integer
// arithmetic alone, so that a seed gives the same case, byte for byte, on
// every platform and compiler. (The scoring's own generator is not used:
// generating cases must never move a score's draws.)
class CaseDice {
 public:
  explicit CaseDice(uint64_t seed);

  // The next 32 random bits.
  uint32_t next();

  // A whole number in lo .. hi, every one equally likely.
  int32_t between(int32_t lo, int32_t hi);

  // A whole number in lo .. hi (1 <= lo <= hi) whose logarithm is about
  // uniform: each n is drawn with weight 1 / n.
  int32_t logUniform(int32_t lo, int32_t hi);

  // True with the chance numerator / denominator.
  bool chance(uint32_t numerator, uint32_t denominator);

  // An index into `weights`, each drawn in proportion to its weight; the
  // weights are positive and add up to less than 2^32.
  int32_t weighted(const std::vector<uint32_t>& weights);

 private:
  // A number below `bound` (1 .. 2^32), every one equally likely.
  uint32_t below(uint64_t bound);

  uint64_t state_;
};

#endif  // SKEDOMAT_GENERATE_CASE_DICE_H
