#ifndef SKEDOMAT_STATISTICS_SPLITMIX64_H
#define SKEDOMAT_STATISTICS_SPLITMIX64_H

#include <cstdint>

// Vigna's SplitMix64: a 64-bit state advanced by a fixed odd constant and
// mixed into each output. Small, fast and defined by integer arithmetic
// alone, so a seed gives the same sequence on every platform and standard
// library, which the bootstrap's intervals rely on.
class SplitMix64 {
 public:
  explicit SplitMix64(uint64_t seed) : state_(seed) {}

  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
  }

  // An integer in [0, n) for n >= 1, exactly uniform: outputs below
  // 2^64 mod n are rejected so that every remainder has as many sources.
  uint64_t below(uint64_t n) {
    const uint64_t threshold = (0 - n) % n;
    for (;;) {
      const uint64_t x = next();
      if (x >= threshold) return x % n;
    }
  }

 private:
  uint64_t state_;
};

#endif  // SKEDOMAT_STATISTICS_SPLITMIX64_H
