#ifndef SKEDOMAT_SIMULATION_FAST_FILM_AUDIENCE_H
#define SKEDOMAT_SIMULATION_FAST_FILM_AUDIENCE_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "simulation/viewing.h"

// A film's viewers so far in the form the batched choice model reads, kept
// through a run in place of the film's list of viewings.

// What a viewer's two bits in a FilmAudience say: how often the viewer has
// seen the film, up to SeenMore for three times or more.
enum SeenCode : int32_t {
  SeenNever = 0,
  SeenOnce = 1,
  SeenTwice = 2,
  SeenMore = 3
};

// The viewers of one film in the form the choice kernels read: two bits per
// viewer, 32 viewers to a 64-bit word, tell how often each has seen it, up
// to twice; the counts of the few who have seen it more often are kept
// apart, sorted by viewer. Looking a viewer up costs one load from a few
// kilobytes, where the film's list of viewings would have to be searched or
// spread out over a column of all viewers for every screening.
class FilmAudience {
 public:
  static const int32_t ViewersPerWord = 32;

  // Makes room for viewers 0 .. nViewers - 1, none of whom has seen it.
  void resize(int32_t nViewers);
  // Sets the audience to the one of `seen` (one record per viewer, sorted
  // by iViewer, every nSeen at least 1), over nobody having seen it.
  void assign(const std::vector<Viewing>& seen);
  // Counts one more viewing of viewer v.
  void addViewing(int32_t v);
  // Appends a record per viewer who has seen the film, in ascending order.
  void appendTo(std::vector<Viewing>& seen) const;

  // How often viewer v has seen the film.
  int32_t countOf(int32_t v) const;
  // How many viewers have seen it.
  int32_t nViewersSeen() const { return nViewersSeen_; }

  const uint64_t* codes() const { return codes_.data(); }

 private:
  void setCode(int32_t v, SeenCode code);
  // The position of viewer v, of code SeenMore, among the repeaters.
  size_t repeaterIndexOf(int32_t v) const;

  std::vector<uint64_t> codes_;
  // How many viewers have seen the film.
  int32_t nViewersSeen_ = 0;
  // The viewers of code SeenMore with their counts, sorted by iViewer.
  std::vector<Viewing> repeaters_;
};

// The code of viewer v in the words of a FilmAudience.
inline int32_t seenCodeOf(const uint64_t* codes, int32_t v) {
  const int32_t shift = 2 * (v % FilmAudience::ViewersPerWord);
  return static_cast<int32_t>(
      (codes[v / FilmAudience::ViewersPerWord] >> shift) & 3);
}

#endif  // SKEDOMAT_SIMULATION_FAST_FILM_AUDIENCE_H
