// The choice kernel for SSE2, which every x86-64 processor has: the chances
// of two viewers at a time in one register, the distances, recencies and
// genre classes of four.

#include <immintrin.h>

#include "simulation/choice_model.h"
#include "simulation/fast/choice_kernels.h"

bool processorRunsSse2Kernel() { return true; }

namespace {

// SSE2 has no 32-bit minimum or maximum; these select by a comparison.
inline __m128i select128(__m128i mask, __m128i ifSet, __m128i ifClear) {
  return _mm_or_si128(_mm_and_si128(mask, ifSet),
                      _mm_andnot_si128(mask, ifClear));
}

inline __m128i min128(__m128i a, __m128i b) {
  return select128(_mm_cmpgt_epi32(a, b), b, a);
}

inline __m128i max128(__m128i a, __m128i b) {
  return select128(_mm_cmpgt_epi32(a, b), a, b);
}

// Raw draws (two lanes) as doubles: flipping the sign bit makes a signed
// value 2^31 too small, which the addition restores exactly.
inline __m128d drawsAsDoubles(__m128i flipped) {
  return _mm_add_pd(_mm_cvtepi32_pd(flipped), _mm_set1_pd(2147483648.0));
}

}  // namespace

int32_t selectViewersSse2(const ChoiceInputs& in, int32_t first, int32_t count,
                          const uint32_t* draws, int32_t* selected) {
  const __m128i startOfDay = _mm_set1_epi32(in.startOfDay);
  const __m128i endOfDay = _mm_set1_epi32(in.endOfDay);
  const __m128i wrap = _mm_set1_epi32(in.wrap);
  const __m128i day = _mm_set1_epi32(in.day);
  const __m128i oldest = _mm_set1_epi32(RecencyEntries - 1);
  const __m128i movieGenres = _mm_set1_epi32(static_cast<int>(in.movieGenres));
  const __m128i zero = _mm_setzero_si128();
  const __m128i allOnes = _mm_set1_epi32(-1);
  const __m128i two = _mm_set1_epi32(2);
  const __m128i signBit = _mm_set1_epi32(static_cast<int>(0x80000000U));
  const __m128d rating = _mm_set1_pd(in.rating);
  const __m128d scale = _mm_set1_pd(TwoTo32);
  alignas(16) int32_t distance[4];
  alignas(16) int32_t age[4];
  alignas(16) int32_t genreClass[4];
  int32_t n = 0;
  int32_t i = 0;
  for (; i + 4 <= count; i += 4) {
    const int32_t j = first + i;
    // Times of day are 0 .. 1439: widening with zeros keeps them.
    const __m128i t = _mm_unpacklo_epi16(
        _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in.preferredTime + j)),
        zero);
    const __m128i a = _mm_sub_epi32(startOfDay, t);
    const __m128i b = _mm_sub_epi32(t, endOfDay);
    const __m128i nearest =
        min128(max128(a, b), _mm_add_epi32(min128(a, b), wrap));
    _mm_store_si128(reinterpret_cast<__m128i*>(distance),
                    max128(nearest, zero));
    const __m128i lastDay =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(in.lastDay + j));
    _mm_store_si128(reinterpret_cast<__m128i*>(age),
                    min128(_mm_sub_epi32(day, lastDay), oldest));
    // The genre classes of genreClassOf: 0 for no shared genre, 1 for one,
    // 2 for more (comparisons give -1).
    const __m128i shared = _mm_and_si128(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(in.genres + j)),
        movieGenres);
    const __m128i none = _mm_cmpeq_epi32(shared, zero);
    const __m128i atMostOne = _mm_cmpeq_epi32(
        _mm_and_si128(shared, _mm_add_epi32(shared, allOnes)), zero);
    _mm_store_si128(reinterpret_cast<__m128i*>(genreClass),
                    _mm_add_epi32(two, _mm_add_epi32(none, atMostOne)));
    const __m128i flipped = _mm_xor_si128(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(draws + i)), signBit);
    int mask = 0;
    for (int half = 0; half < 2; ++half) {
      const int k = 2 * half;
      const __m128d r = _mm_setr_pd(in.recency[age[k]], in.recency[age[k + 1]]);
      const __m128d tf =
          _mm_setr_pd(in.time[distance[k]], in.time[distance[k + 1]]);
      const __m128d g = _mm_setr_pd(GenreClassFactors[genreClass[k]],
                                    GenreClassFactors[genreClass[k + 1]]);
      const __m128d s = _mm_setr_pd(repeatFactorOf(in, j + k),
                                    repeatFactorOf(in, j + k + 1));
      const __m128d p =
          _mm_mul_pd(_mm_mul_pd(_mm_mul_pd(_mm_mul_pd(r, tf), g), rating), s);
      const __m128d drawn =
          drawsAsDoubles(half == 0 ? flipped : _mm_srli_si128(flipped, 8));
      mask |= _mm_movemask_pd(_mm_cmplt_pd(drawn, _mm_mul_pd(p, scale))) << k;
    }
    for (int k = 0; k < 4; ++k) {
      selected[n] = j + k;
      n += (mask >> k) & 1;
    }
  }
  return n + selectViewersPortable(in, first + i, count - i, draws + i,
                                   selected + n);
}
