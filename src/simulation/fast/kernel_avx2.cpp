// The choice kernel for AVX2. Its functions are compiled for AVX2 through the
// target attribute alone, so that the rest of the program stays plain
// x86-64 and the kernel is chosen at run time, by processorRunsAvx2Kernel.

#include <immintrin.h>

#include <algorithm>

#include "simulation/choice_model.h"
#include "simulation/fast/choice_kernels.h"
#include "simulation/fast/draw_bounds.h"

bool processorRunsAvx2Kernel() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt") &&
         __builtin_cpu_supports("bmi");
}

namespace {

// For every 8-bit mask of hits, the lane numbers of its set bits in
// ascending order: the permutation that packs the hits to the front.
struct PackTable {
  PackTable() {
    for (int mask = 0; mask < 256; ++mask) {
      int n = 0;
      for (int lane = 0; lane < 8; ++lane)
        if ((mask >> lane) & 1) lanes[mask][n++] = lane;
      while (n < 8) lanes[mask][n++] = 0;
    }
  }
  alignas(32) int32_t lanes[256][8];
};

const PackTable packTable;

// table[index] for four indices. Four scalar loads were faster than the
// gather instruction on the (AMD) processor this was measured on.
__attribute__((target("avx2"))) inline __m256d gather4(const double* table,
                                                       __m128i index) {
  alignas(16) int32_t lanes[4];
  _mm_store_si128(reinterpret_cast<__m128i*>(lanes), index);
  return _mm256_setr_pd(table[lanes[0]], table[lanes[1]], table[lanes[2]],
                        table[lanes[3]]);
}

// The genre factors of four viewers (see genreFactor) from the masks of "no
// shared genre" and "at most one".
__attribute__((target("avx2"))) inline __m256d genreFactors4(
    __m128i none, __m128i atMostOne) {
  const __m256d some = _mm256_blendv_pd(
      _mm256_set1_pd(GenreClassFactors[2]), _mm256_set1_pd(GenreClassFactors[1]),
      _mm256_castsi256_pd(_mm256_cvtepi32_epi64(atMostOne)));
  return _mm256_blendv_pd(some, _mm256_set1_pd(GenreClassFactors[0]),
                          _mm256_castsi256_pd(_mm256_cvtepi32_epi64(none)));
}

// The per-viewer columns of a stretch, from its first viewer on, so that
// a survivor's offset indexes them directly, and that first viewer.
struct StretchColumns {
  const int16_t* preferredTime;
  const uint32_t* genres;
  const int32_t* lastDay;
  int32_t first;
};

// The time-of-day distances of four viewers.
__attribute__((target("avx2"))) inline __m128i distances4(
    const ChoiceInputs& in, __m128i t) {
  const __m128i a = _mm_sub_epi32(_mm_set1_epi32(in.startOfDay), t);
  const __m128i b = _mm_sub_epi32(t, _mm_set1_epi32(in.endOfDay));
  return _mm_max_epi32(
      _mm_setzero_si128(),
      _mm_min_epi32(_mm_max_epi32(a, b),
                    _mm_add_epi32(_mm_min_epi32(a, b),
                                  _mm_set1_epi32(in.wrap))));
}

// The repeat factors of four viewers, one of whom has seen the film three
// times or more, into factors[0 .. 3]: looked up by repeatFactorOf, out of
// the loop's way. It takes and returns no vector, so that code built with
// AVX2 and without calls it alike.
__attribute__((noinline, cold)) void lookUpRepeatFactors4(
    const ChoiceInputs& in, int32_t v0, int32_t v1, int32_t v2, int32_t v3,
    double* factors) {
  factors[0] = repeatFactorOf(in, v0);
  factors[1] = repeatFactorOf(in, v1);
  factors[2] = repeatFactorOf(in, v2);
  factors[3] = repeatFactorOf(in, v3);
}

// The repeat factors of viewers v0 .. v3, from their codes in the film's
// audience, which are their counts up to SeenTwice. Inlined always: a call
// would return a 256-bit vector, which code built with and without AVX
// passes differently.
__attribute__((target("avx2"), always_inline)) inline __m256d repeatFactors4(
    const ChoiceInputs& in, int32_t v0, int32_t v1, int32_t v2, int32_t v3) {
  const int32_t PerWord = FilmAudience::ViewersPerWord;
  const uint64_t* codes = in.seenCodes;
  const __m256i words = _mm256_setr_epi64x(
      static_cast<int64_t>(codes[v0 / PerWord]),
      static_cast<int64_t>(codes[v1 / PerWord]),
      static_cast<int64_t>(codes[v2 / PerWord]),
      static_cast<int64_t>(codes[v3 / PerWord]));
  const __m256i shifts = _mm256_slli_epi64(
      _mm256_and_si256(_mm256_setr_epi64x(v0, v1, v2, v3),
                       _mm256_set1_epi64x(PerWord - 1)),
      1);
  const __m256i code = _mm256_and_si256(_mm256_srlv_epi64(words, shifts),
                                        _mm256_set1_epi64x(3));
  const __m256i more = _mm256_cmpeq_epi64(code, _mm256_set1_epi64x(SeenMore));
  if (!_mm256_testz_si256(more, more)) {
    alignas(32) double factors[4];
    lookUpRepeatFactors4(in, v0, v1, v2, v3, factors);
    return _mm256_load_pd(factors);
  }
  const __m256i once = _mm256_cmpeq_epi64(code, _mm256_set1_epi64x(SeenOnce));
  const __m256i twice =
      _mm256_cmpeq_epi64(code, _mm256_set1_epi64x(SeenTwice));
  const __m256d never = _mm256_set1_pd(in.repeatFactors[SeenNever]);
  const __m256d upToOnce = _mm256_blendv_pd(
      never, _mm256_set1_pd(in.repeatFactors[SeenOnce]),
      _mm256_castsi256_pd(once));
  return _mm256_blendv_pd(upToOnce, _mm256_set1_pd(in.repeatFactors[SeenTwice]),
                          _mm256_castsi256_pd(twice));
}

// The time factors of the four viewers at the offsets o0 .. o3 of a
// stretch: straight from the screening's table by preferred time when it
// has one, else from their distances.
template <bool FromTable>
__attribute__((target("avx2"))) inline __m256d timeFactors4(
    const ChoiceInputs& in, const StretchColumns& x, int32_t o0, int32_t o1,
    int32_t o2, int32_t o3) {
  if (FromTable) {
    const double* time = in.timeByPreference;
    return _mm256_setr_pd(
        time[x.preferredTime[o0]], time[x.preferredTime[o1]],
        time[x.preferredTime[o2]], time[x.preferredTime[o3]]);
  }
  const __m128i t = _mm_setr_epi32(x.preferredTime[o0], x.preferredTime[o1],
                                   x.preferredTime[o2], x.preferredTime[o3]);
  return gather4(in.time, distances4(in, t));
}

// Second pass: the exact chance of four surviving viewers at the offsets
// o[0 .. 3] of the stretch, tested against their draws; returns the 4-bit
// mask of hits.
template <bool FromTable>
__attribute__((target("avx2"))) inline int exactHits4(const ChoiceInputs& in,
                                                      const StretchColumns& x,
                                                      const int32_t* o,
                                                      const uint32_t* draws) {
  const int32_t o0 = o[0], o1 = o[1], o2 = o[2], o3 = o[3];
  const __m256d tf = timeFactors4<FromTable>(in, x, o0, o1, o2, o3);
  const __m128i lastDay = _mm_setr_epi32(x.lastDay[o0], x.lastDay[o1],
                                         x.lastDay[o2], x.lastDay[o3]);
  const __m128i age =
      _mm_min_epi32(_mm_sub_epi32(_mm_set1_epi32(in.day), lastDay),
                    _mm_set1_epi32(RecencyEntries - 1));
  const __m128i shared = _mm_and_si128(
      _mm_setr_epi32(
          static_cast<int>(x.genres[o0]), static_cast<int>(x.genres[o1]),
          static_cast<int>(x.genres[o2]), static_cast<int>(x.genres[o3])),
      _mm_set1_epi32(static_cast<int>(in.movieGenres)));
  const __m128i zero = _mm_setzero_si128();
  const __m128i none = _mm_cmpeq_epi32(shared, zero);
  const __m128i atMostOne = _mm_cmpeq_epi32(
      _mm_and_si128(shared, _mm_add_epi32(shared, _mm_set1_epi32(-1))), zero);
  const __m256d r = gather4(in.recency, age);
  const __m256d g = genreFactors4(none, atMostOne);
  const __m256d s = repeatFactors4(in, x.first + o0, x.first + o1,
                                   x.first + o2, x.first + o3);
  const __m256d p =
      _mm256_mul_pd(_mm256_mul_pd(_mm256_mul_pd(_mm256_mul_pd(r, tf), g),
                                  _mm256_set1_pd(in.rating)),
                    s);
  const __m128i flipped = _mm_xor_si128(
      _mm_setr_epi32(
          static_cast<int>(draws[o0]), static_cast<int>(draws[o1]),
          static_cast<int>(draws[o2]), static_cast<int>(draws[o3])),
      _mm_set1_epi32(static_cast<int>(0x80000000U)));
  const __m256d drawn =
      _mm256_add_pd(_mm256_cvtepi32_pd(flipped), _mm256_set1_pd(2147483648.0));
  return _mm256_movemask_pd(_mm256_cmp_pd(
      drawn, _mm256_mul_pd(p, _mm256_set1_pd(TwoTo32)), _CMP_LT_OQ));
}

// Writes viewer j to *selected; returns 1 if its draw hits, else 0 (the
// entry is then overwritten by the next one).
inline int32_t testExactly(const ChoiceInputs& in, int32_t j, uint32_t draw,
                           int32_t* selected) {
  *selected = j;
  return drawsBelow(draw, chanceOf(in, j)) ? 1 : 0;
}

// The viewers of one first pass, whose survivors' offsets wait on the stack
// for the exact pass.
const int32_t MaxStretch = 1024;

// The screening's constants of the AVX2 pass, in registers.
struct GroupPassConstants {
  // The distance in the form of bands16 (16-bit lanes).
  __m256i gapStart;
  __m256i gapEnd;
  __m256i roundLength;
  __m256i lastBand;  // 8-bit lanes
  __m256i movieGenres;
  __m256i noGenreBounds;    // the 16 top-byte bounds, in both halves
  __m256i someGenreBounds;
};

// The constants of the screening described by `in`. distanceOf measures
// from a preferred time t to the screening's arc of the day; outside it,
// x = (start - t) + (t - end), with each difference cut off at 0 (only
// one is positive), is the way to the arc one way round, and the way the
// other round is round - x, where round is the length of the day outside
// the arc. Past midnight the arc is [start, end + 1440): then x alone is
// t - end, cut off at 0, and for t past the start round - x is cut off
// at 0 in turn. A screening of a day or more leaves no gap: x = 0.
__attribute__((target("avx2"))) GroupPassConstants groupPassConstantsOf(
    const ChoiceInputs& in) {
  const bool pastMidnight = in.wrap == 0;
  const int32_t gapStart = pastMidnight ? 0 : std::max(in.startOfDay, 0);
  const int32_t round =
      pastMidnight ? in.startOfDay - in.endOfDay
                   : gapStart + in.wrap - in.endOfDay;
  GroupPassConstants c;
  c.gapStart = _mm256_set1_epi16(static_cast<int16_t>(gapStart));
  c.gapEnd = _mm256_set1_epi16(static_cast<int16_t>(in.endOfDay));
  c.roundLength = _mm256_set1_epi16(static_cast<int16_t>(round));
  c.lastBand = _mm256_set1_epi8(DistanceBands - 1);
  c.movieGenres = _mm256_set1_epi32(static_cast<int>(in.movieGenres));
  c.noGenreBounds = _mm256_broadcastsi128_si256(
      _mm_load_si128(reinterpret_cast<const __m128i*>(in.topByteBound)));
  c.someGenreBounds = _mm256_broadcastsi128_si256(_mm_load_si128(
      reinterpret_cast<const __m128i*>(in.topByteBound + DistanceBands)));
  return c;
}

// The distance bands (distance / 16, at most 45) of sixteen viewers, in
// 16-bit lanes, by unsigned saturating subtractions (see
// groupPassConstantsOf): all the values lie in 0 .. 1440.
__attribute__((target("avx2"))) inline __m256i bands16(
    const GroupPassConstants& c, __m256i t) {
  const __m256i x = _mm256_or_si256(_mm256_subs_epu16(c.gapStart, t),
                                    _mm256_subs_epu16(t, c.gapEnd));
  const __m256i distance =
      _mm256_min_epu16(x, _mm256_subs_epu16(c.roundLength, x));
  return _mm256_srli_epi16(distance, 4);
}

// -1 in the 32-bit lanes of the eight viewers from `genres` who share no
// genre with the film, 0 in the others.
__attribute__((target("avx2"))) inline __m256i sharesNone8(
    const GroupPassConstants& c, const uint32_t* genres) {
  const __m256i shared = _mm256_and_si256(
      _mm256_loadu_si256(reinterpret_cast<const __m256i*>(genres)),
      c.movieGenres);
  return _mm256_cmpeq_epi32(shared, _mm256_setzero_si256());
}

// The top bytes of eight draws, each in the low byte of its 32-bit lane.
__attribute__((target("avx2"))) inline __m256i topBytes8(
    const uint32_t* draws) {
  return _mm256_srli_epi32(
      _mm256_loadu_si256(reinterpret_cast<const __m256i*>(draws)), 24);
}

// The bytes of a packed register in viewer order: byte p of the packing
// rounds holds viewer v where p = 16 x half + 4 x group + lane takes viewer
// 8 x group + 4 x half + lane. Moving the 64-bit quarters to the order 0, 2,
// 1, 3 puts the viewers of each half in its 128-bit lane; swapping bits 2
// and 3 of the byte position within the lane finishes the order.
__attribute__((target("avx2"))) inline __m256i inViewerOrder(__m256i packed) {
  const __m256i byHalf = _mm256_permute4x64_epi64(packed, 0xD8);
  const __m256i order =
      _mm256_setr_epi8(0, 1, 2, 3, 8, 9, 10, 11, 4, 5, 6, 7, 12, 13, 14, 15, 0,
                       1, 2, 3, 8, 9, 10, 11, 4, 5, 6, 7, 12, 13, 14, 15);
  return _mm256_shuffle_epi8(byHalf, order);
}

// The viewers first .. first + 31 (first a multiple of 32) whose draw may
// fall below their chance: bit v is set when viewer first + v's draw is at
// most the top-byte bound of the viewer's distance band and genre class.
// All other viewers miss, since their chance never exceeds that bound.
__attribute__((target("avx2"))) inline uint32_t groupSurvivors(
    const ChoiceInputs& in, const GroupPassConstants& c, int32_t first,
    const uint32_t* draws) {
  const int16_t* time = in.groupedTime + first;
  // Bands run up to 45, within a byte; every band from 15 on is the last.
  const __m256i bands = _mm256_min_epu8(
      _mm256_packus_epi16(
          bands16(c, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(time))),
          bands16(c, _mm256_loadu_si256(
                         reinterpret_cast<const __m256i*>(time + 16)))),
      c.lastBand);
  // The same two rounds of packing put the genre masks and the draws in
  // the order of the times (see groupedViewerOf).
  const uint32_t* genres = in.genres + first;
  const __m256i none = _mm256_packs_epi16(
      _mm256_packs_epi32(sharesNone8(c, genres), sharesNone8(c, genres + 8)),
      _mm256_packs_epi32(sharesNone8(c, genres + 16),
                         sharesNone8(c, genres + 24)));
  const __m256i top = _mm256_packus_epi16(
      _mm256_packus_epi32(topBytes8(draws), topBytes8(draws + 8)),
      _mm256_packus_epi32(topBytes8(draws + 16), topBytes8(draws + 24)));
  const __m256i bound =
      _mm256_blendv_epi8(_mm256_shuffle_epi8(c.someGenreBounds, bands),
                         _mm256_shuffle_epi8(c.noGenreBounds, bands), none);
  const __m256i atMost = _mm256_cmpeq_epi8(_mm256_min_epu8(top, bound), top);
  return static_cast<uint32_t>(_mm256_movemask_epi8(inViewerOrder(atMost)));
}

// The offsets of the set bits of `bits`, plus `base`, to survivors[0 ..]
// in ascending order; returns how many. Eight entries are written whatever
// the count (those past it are scratch, which the next call or the
// caller's padding overwrites), so that the usual few bits cost no branch;
// only more than eight take the loop.
__attribute__((target("avx2,popcnt,bmi"))) inline int32_t appendBits(
    uint64_t bits, int32_t base, int32_t* survivors) {
  const int32_t n = static_cast<int32_t>(_mm_popcnt_u64(bits));
  for (int32_t k = 0; k < 8; ++k) {
    survivors[k] = base + static_cast<int32_t>(_tzcnt_u64(bits));
    bits = _blsr_u64(bits);
  }
  for (int32_t k = 8; k < n; ++k) {
    survivors[k] = base + static_cast<int32_t>(_tzcnt_u64(bits));
    bits = _blsr_u64(bits);
  }
  return n;
}

// First pass over a stretch of whole groups (count a multiple of 32, at
// most MaxStretch, first a multiple of 32): the offsets from `first` of the
// viewers that groupSurvivors lets through, ascending; returns how many.
// `survivors` needs room for count + 8 entries (see appendBits).
// The groups' masks are all worked out before any is unpacked: apart, the
// tests of the groups overlap freely, where a mask unpacked at once would
// hold up its group's stores until the whole test is done.
__attribute__((target("avx2,popcnt,bmi"))) int32_t boundPass(
    const ChoiceInputs& in, int32_t first, int32_t count,
    const uint32_t* draws, int32_t* survivors) {
  const GroupPassConstants constants = groupPassConstantsOf(in);
  uint32_t masks[MaxStretch / VectorGroup + 1];
  const int32_t nGroups = count / VectorGroup;
  for (int32_t g = 0; g < nGroups; ++g)
    masks[g] = groupSurvivors(in, constants, first + g * VectorGroup,
                              draws + g * VectorGroup);
  masks[nGroups] = 0;
  int32_t n = 0;
  for (int32_t g = 0; g < nGroups; g += 2) {
    const uint64_t bits = masks[g] | static_cast<uint64_t>(masks[g + 1]) << 32;
    n += appendBits(bits, g * VectorGroup, survivors + n);
  }
  return n;
}

// Stores the viewers of the four survivors at offsets[0 .. 3] of a stretch
// that starts at `first` whose bits are set in `hits`, packed by the table
// to selected[0 ..] with one store; returns how many.
__attribute__((target("avx2,popcnt"))) inline int32_t storeHits(
    __m256i first, const int32_t* offsets, int hits, int32_t* selected) {
  const __m256i viewers = _mm256_add_epi32(
      first, _mm256_zextsi128_si256(_mm_loadu_si128(
                 reinterpret_cast<const __m128i*>(offsets))));
  const __m256i pack = _mm256_load_si256(
      reinterpret_cast<const __m256i*>(packTable.lanes[hits]));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(selected),
                      _mm256_permutevar8x32_epi32(viewers, pack));
  return __builtin_popcount(static_cast<unsigned>(hits));
}

// The exact pass over the survivors survivors[0 .. nSurvivors - 1] of a
// stretch that starts at viewer `first`, four at a time: the hits go to
// `selected` packed by the table, one store per four survivors (one by
// one, the stores and counts cost more than the test). The survivors'
// list has room for three more entries, which pad the last four with
// viewer `first` and whose hits are masked off. Returns how many hit.
template <bool FromTable>
__attribute__((target("avx2,popcnt,bmi"))) int32_t exactPass(
    const ChoiceInputs& in, int32_t first, int32_t* survivors,
    int32_t nSurvivors, const uint32_t* draws, int32_t* selected) {
  for (int32_t pad = 0; pad < 3; ++pad) survivors[nSurvivors + pad] = 0;
  const __m256i stretchFirst = _mm256_set1_epi32(first);
  const StretchColumns columns = {in.preferredTime + first, in.genres + first,
                                  in.lastDay + first, first};
  int32_t n = 0;
  int32_t k = 0;
  for (; k + 4 <= nSurvivors; k += 4) {
    const int hits = exactHits4<FromTable>(in, columns, survivors + k, draws);
    n += storeHits(stretchFirst, survivors + k, hits, selected + n);
  }
  if (k < nSurvivors) {
    const int valid = (1 << (nSurvivors - k)) - 1;
    const int hits = exactHits4<FromTable>(in, columns, survivors + k, draws);
    n += storeHits(stretchFirst, survivors + k, hits & valid, selected + n);
  }
  return n;
}

}  // namespace

// Two passes: a cheap one on 32 viewers at a time that compares the top
// byte of each draw with a bound for the viewer's genre class and distance
// band (most viewers prefer another time of day or share no genre with the
// film, so few draws pass), then the exact chance for the few who remain,
// four at a time. Viewers outside whole groups go straight to the exact test.
__attribute__((target("avx2,popcnt,bmi"))) int32_t selectViewersAvx2(
    const ChoiceInputs& inputs, int32_t first, int32_t count,
    const uint32_t* draws, int32_t* selected) {
  // A copy that the stores to `selected` cannot change, so that its fields
  // stay in registers.
  const ChoiceInputs in = inputs;
  int32_t n = 0;
  int32_t i = 0;
  for (; i < count && (first + i) % VectorGroup != 0; ++i)
    n += testExactly(in, first + i, draws[i], selected + n);
  while (count - i >= VectorGroup) {
    const int32_t length =
        std::min(MaxStretch, (count - i) / VectorGroup * VectorGroup);
    // Room for the entries that boundPass writes past the last survivor.
    int32_t survivors[MaxStretch + 8];
    const int32_t nSurvivors =
        boundPass(in, first + i, length, draws + i, survivors);
    n += in.timeByPreference != nullptr
             ? exactPass<true>(in, first + i, survivors, nSurvivors,
                               draws + i, selected + n)
             : exactPass<false>(in, first + i, survivors, nSurvivors,
                                draws + i, selected + n);
    i += length;
  }
  for (; i < count; ++i) n += testExactly(in, first + i, draws[i], selected + n);
  return n;
}
