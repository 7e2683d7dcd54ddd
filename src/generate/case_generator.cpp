#include "generate/case_generator.h"

#include <algorithm>
#include <vector>

#include "base/assertion.h"
#include "generate/case_dice.h"
#include "generate/word_lists.h"

namespace {

const int32_t MaxGenresPerSet = 5;

// Bytes gathered before they are handed on.
const size_t PieceSize = 1 << 16;

// 0 .. 99 as two digits.
std::string twoDigits(int32_t value) {
  return std::string(1, static_cast<char>('0' + value / 10)) +
         static_cast<char>('0' + value % 10);
}

// The parameters of one case, those not given drawn from the seed.
CaseParameters drawParameters(CaseDice& dice, uint64_t seed,
                              const CaseParameters& given) {
  CaseParameters drawn;
  drawn.nMovies = dice.logUniform(10, 2000);
  drawn.nViewers = dice.logUniform(100, 50000);
  drawn.nSeats = dice.between(10, 500);
  drawn.caseNo = static_cast<int32_t>(seed % 1000000);
  if (given.nMovies >= 0) drawn.nMovies = given.nMovies;
  if (given.nViewers >= 0) drawn.nViewers = given.nViewers;
  if (given.nSeats >= 0) drawn.nSeats = given.nSeats;
  if (given.caseNo >= 0) drawn.caseNo = given.caseNo;
  return drawn;
}

// Genre g has the weight 27720 / (g + 1): 27720 is divisible by 1 .. 12,
// so the first weights are exact ratios.
std::vector<uint32_t> genreWeights(int32_t nGenres) {
  std::vector<uint32_t> weights;
  for (int32_t g = 0; g < nGenres; ++g)
    weights.push_back(27720u / static_cast<uint32_t>(g + 1));
  return weights;
}

class CaseWriter {
 public:
  CaseWriter(CaseDice& dice, int32_t nGenres,
             const std::function<void(const std::string&)>& write)
      : dice_(dice), nGenres_(nGenres), weights_(genreWeights(nGenres)), write_(write) {}

  void line(const std::string& text) {
    text_ += text;
    text_ += '\n';
    if (text_.size() >= PieceSize) flush();
  }
  void line(int64_t number) { line(intToStr(number)); }

  // A genre block of 1 .. 5 distinct genres, popular ones more often.
  void genres() {
    const int32_t count = dice_.between(1, std::min(MaxGenresPerSet, nGenres_));
    std::vector<int32_t> chosen;
    while (static_cast<int32_t>(chosen.size()) < count) {
      const int32_t genre = dice_.weighted(weights_);
      bool seen = false;
      for (int32_t c : chosen) seen = seen || c == genre;
      if (!seen) chosen.push_back(genre);
    }
    line(count);
    for (int32_t genre : chosen) {
      line(genre);
      line(GenreNames[genre]);
    }
  }

  void movie(int32_t movieNo) {
    line(movieNo);
    line("tt" + intToStr(dice_.between(1000000, 9999999)));
    line(title());
    line(dice_.between(60, 200));
    const int32_t tenths = dice_.between(0, 100);
    line(intToStr(tenths / 10) + "." + intToStr(tenths % 10));
    genres();
  }

  void viewer() {
    const int32_t minute = preferredTime();
    line(twoDigits(minute / 60) + ":" + twoDigits(minute % 60));
    genres();
  }

  void flush() {
    if (!text_.empty()) write_(text_);
    text_.clear();
  }

 private:
  std::string word() { return TitleWords[dice_.between(0, NTitleWords - 1)]; }

  std::string title() {
    const int32_t nWords = dice_.weighted({1, 2, 1});
    std::string text = word();
    for (int32_t i = 0; i < nWords; ++i) text += " " + word();
    return text;
  }

  int32_t preferredTime() {
    switch (dice_.weighted({50, 20, 15, 15})) {
      case 0:
        return dice_.between(18 * 60, 23 * 60 - 1);
      case 1:
        return dice_.between(14 * 60, 18 * 60 - 1);
      case 2:
        return dice_.between(23 * 60, 26 * 60 - 1) % (24 * 60);
      default:
        return dice_.between(0, 24 * 60 - 1);
    }
  }

  CaseDice& dice_;
  const int32_t nGenres_;
  const std::vector<uint32_t> weights_;
  const std::function<void(const std::string&)>& write_;
  std::string text_;  // not yet handed on
};

}  // namespace

std::string generateTestCase(uint64_t seed, const CaseParameters& parameters) {
  std::string text;
  generateTestCase(seed, parameters, [&text](const std::string& piece) { text += piece; });
  return text;
}

void generateTestCase(uint64_t seed, const CaseParameters& parameters,
                      const std::function<void(const std::string& piece)>& write) {
  CaseDice dice(seed);
  const CaseParameters drawn = drawParameters(dice, seed, parameters);
  CaseWriter writer(dice, dice.between(15, 32), write);
  writer.line("Tavo");
  writer.line(drawn.caseNo);
  writer.line(drawn.nMovies);
  for (int32_t m = 0; m < drawn.nMovies; ++m) writer.movie(m);
  writer.line(intToStr(drawn.nViewers) + " " + intToStr(drawn.nSeats));
  for (int32_t j = 0; j < drawn.nViewers; ++j) writer.viewer();
  writer.flush();
}
