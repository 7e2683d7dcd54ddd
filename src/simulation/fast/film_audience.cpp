#include "simulation/fast/film_audience.h"

#include <algorithm>

#include "base/assertion.h"

namespace {

bool byViewer(const Viewing& a, const Viewing& b) {
  return a.iViewer < b.iViewer;
}

// The low bit of each viewer's pair in a word of codes, set when either of
// its bits is: one bit per viewer who has seen the film.
uint64_t seenPairs(uint64_t word) {
  return (word | word >> 1) & 0x5555555555555555ULL;
}

}  // namespace

void FilmAudience::resize(int32_t nViewers) {
  const size_t nWords =
      static_cast<size_t>(nViewers + ViewersPerWord - 1) / ViewersPerWord;
  codes_.assign(nWords, 0);
  repeaters_.clear();
  nViewersSeen_ = 0;
}

void FilmAudience::assign(const std::vector<Viewing>& seen) {
  std::fill(codes_.begin(), codes_.end(), 0);
  repeaters_.clear();
  nViewersSeen_ = static_cast<int32_t>(seen.size());
  for (const Viewing& viewing : seen) {
    Assert(viewing.nSeen >= 1);
    if (viewing.nSeen < SeenMore) {
      setCode(viewing.iViewer, static_cast<SeenCode>(viewing.nSeen));
    } else {
      setCode(viewing.iViewer, SeenMore);
      repeaters_.push_back(viewing);
    }
  }
}

void FilmAudience::addViewing(int32_t v) {
  const int32_t code = seenCodeOf(codes_.data(), v);
  switch (code) {
    case SeenNever:
      ++nViewersSeen_;
      setCode(v, SeenOnce);
      return;
    case SeenOnce:
      setCode(v, SeenTwice);
      return;
    case SeenTwice: {
      setCode(v, SeenMore);
      const Viewing added{v, SeenMore};
      repeaters_.insert(std::lower_bound(repeaters_.begin(), repeaters_.end(),
                                         added, byViewer),
                        added);
      return;
    }
    default:
      ++repeaters_[repeaterIndexOf(v)].nSeen;
  }
}

int32_t FilmAudience::countOf(int32_t v) const {
  const int32_t code = seenCodeOf(codes_.data(), v);
  if (code != SeenMore) return code;
  return repeaters_[repeaterIndexOf(v)].nSeen;
}

size_t FilmAudience::repeaterIndexOf(int32_t v) const {
  auto found = std::lower_bound(repeaters_.begin(), repeaters_.end(),
                                Viewing{v, 0}, byViewer);
  Assert(found != repeaters_.end() && found->iViewer == v);
  return static_cast<size_t>(found - repeaters_.begin());
}

void FilmAudience::appendTo(std::vector<Viewing>& seen) const {
  // Sized once and written in place: growing the list record by record
  // costs more than the rest of the pass.
  const size_t nBefore = seen.size();
  seen.resize(nBefore + static_cast<size_t>(nViewersSeen_));
  Viewing* next = seen.data() + nBefore;
  auto repeater = repeaters_.begin();
  for (size_t w = 0; w < codes_.size(); ++w) {
    const uint64_t word = codes_[w];
    for (uint64_t any = seenPairs(word); any != 0; any &= any - 1) {
      const int32_t shift = __builtin_ctzll(any);
      const int32_t v = static_cast<int32_t>(w) * ViewersPerWord + shift / 2;
      const int32_t code = static_cast<int32_t>((word >> shift) & 3);
      if (code != SeenMore) {
        *next++ = Viewing{v, code};
        continue;
      }
      Assert(repeater != repeaters_.end() && repeater->iViewer == v);
      *next++ = *repeater++;
    }
  }
  Assert(next == seen.data() + seen.size());
}

void FilmAudience::setCode(int32_t v, SeenCode code) {
  const int32_t shift = 2 * (v % ViewersPerWord);
  uint64_t& word = codes_[v / ViewersPerWord];
  word = (word & ~(uint64_t(3) << shift)) | uint64_t(code) << shift;
}
