// The regeneration of SFMT19937 blocks with SSE2, which every x86-64
// processor has: the 128-bit words of the recursion are whole registers.

#include "simulation/fast/sfmt_vector.h"

#include <immintrin.h>

#include "simulation/sfmt_parameters.h"

namespace {

// One step of the SFMT recursion on four 32-bit lanes. SSE2 shifts whole
// registers by bytes, and the whole-word shifts are one byte.
inline __m128i sfmtStep(__m128i a, __m128i b, __m128i r1, __m128i r2,
                        __m128i mask) {
  const __m128i aLeft = _mm_slli_si128(a, sfmt::WordShiftBits / 8);
  const __m128i bRight =
      _mm_and_si128(_mm_srli_epi32(b, sfmt::LaneShiftRight), mask);
  const __m128i r1Right = _mm_srli_si128(r1, sfmt::WordShiftBits / 8);
  const __m128i r2Left = _mm_slli_epi32(r2, sfmt::LaneShiftLeft);
  return _mm_xor_si128(_mm_xor_si128(_mm_xor_si128(a, aLeft), bRight),
                       _mm_xor_si128(r1Right, r2Left));
}

inline __m128i loadWord(const uint32_t* state, int k) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4 * k));
}

inline void storeWord(uint32_t* state, int k, __m128i word) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4 * k), word);
}

}  // namespace

void extendSfmtVector(uint32_t* words, int32_t blocks) {
  const __m128i mask = _mm_setr_epi32(
      static_cast<int>(sfmt::Mask[0]), static_cast<int>(sfmt::Mask[1]),
      static_cast<int>(sfmt::Mask[2]), static_cast<int>(sfmt::Mask[3]));
  __m128i r1 = loadWord(words, sfmt::WordCount - 2);
  __m128i r2 = loadWord(words, sfmt::WordCount - 1);
  const int32_t end = sfmt::WordCount * (1 + blocks);
  for (int32_t n = sfmt::WordCount; n < end; ++n) {
    const int32_t a = n - sfmt::WordCount;
    const __m128i word = sfmtStep(loadWord(words, a),
                                  loadWord(words, a + sfmt::PickUp), r1, r2,
                                  mask);
    storeWord(words, n, word);
    r1 = r2;
    r2 = word;
  }
}

bool sfmtVectorIsNative() { return true; }
