#ifndef SKEDOMAT_SIMULATION_RANDOM_SOURCE_H
#define SKEDOMAT_SIMULATION_RANDOM_SOURCE_H

#include <cstdint>

// The one process-wide pseudo-random generator of the simulation: SFMT19937
// with its published parameters, producing 32-bit outputs. Every score depends
// on its exact output sequence.
class RandomSource {
 public:
  static const int StateWords = 624;  // 32-bit words; 156 words of 128 bits

  // Replaces the whole state by the one derived from `seed`.
  static void seed(uint32_t seed);
  // The next 32-bit output.
  static uint32_t next32();
  // A double in [0, 1): the next output times 2^-32.
  static double nextUnit();
  // An integer in [0, n) for n >= 1, without modulo bias (rejected draws
  // consume outputs too).
  static int32_t nextBelow(int32_t n);
  // The next outputs in one piece, for callers that consume many: points
  // `outputs` at between 1 and `count` (>= 1) consecutive outputs and returns
  // how many, exactly as that many next32 calls would have; fewer only at
  // the end of the generator's window (a multiple of 624 outputs). They stay
  // valid until the next draw or seeding.
  static int32_t nextOutputs(int32_t count, const uint32_t*& outputs);

 private:
  // The outputs are regenerated several blocks at a time, so that a caller
  // that takes thousands of them gets them in few pieces.
  static const int32_t WindowBlocks = 8;
  static const int32_t BufferWords = StateWords * (1 + WindowBlocks);

  static void certifyPeriod();
  static void regenerate();
  static uint32_t* lastBlock();

  // The last block handed out (or the seeded state) and, after it, the
  // window of the blocks that follow: state_[StateWords .. BufferWords - 1].
  // index_ is the next output's position in state_.
  static uint32_t state_[BufferWords];
  static int32_t index_;
};

#endif  // SKEDOMAT_SIMULATION_RANDOM_SOURCE_H
