#include "case_generator.h"

#include <cstdio>
#include <vector>

namespace {

const char* const GenreNames[20] = {
    "Drama",   "Comedy",  "Thriller",  "Documentary", "Animation",
    "Action",  "Romance", "Horror",    "Crime",       "Adventure",
    "Fantasy", "Mystery", "Biography", "History",     "Family",
    "Music",   "War",     "Western",   "Sci-Fi",      "Sport"};
const int32_t NGenreNames = 20;

// A deterministic generator (a 64-bit linear congruential one), so that a
// seed gives the same case on every platform.
class Dice {
 public:
  explicit Dice(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ULL + 1) {}
  // An integer in [lo, hi].
  int32_t between(int32_t lo, int32_t hi) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    const uint64_t span = static_cast<uint64_t>(hi - lo) + 1;
    return lo + static_cast<int32_t>((state_ >> 33) % span);
  }

 private:
  uint64_t state_;
};

// A file written line by line; remembers whether every write succeeded.
class TextFile {
 public:
  explicit TextFile(const std::string& path)
      : file_(std::fopen(path.c_str(), "wb")) {}
  ~TextFile() { close(); }
  void line(const std::string& text) {
    if (file_ != nullptr && std::fprintf(file_, "%s\n", text.c_str()) < 0)
      ok_ = false;
  }
  void line(int64_t number) { line(std::to_string(number)); }
  bool close() {
    if (file_ == nullptr) return false;
    std::FILE* file = file_;
    file_ = nullptr;
    const bool closed = std::fclose(file) == 0;
    ok_ = closed && ok_;
    return ok_;
  }

 private:
  std::FILE* file_;
  bool ok_ = true;
};

// A genre block of `count` distinct genres.
void writeGenres(TextFile& file, Dice& dice, int32_t count) {
  std::vector<int32_t> chosen;
  while (static_cast<int32_t>(chosen.size()) < count) {
    int32_t genre = dice.between(0, NGenreNames - 1);
    bool seen = false;
    for (int32_t c : chosen) seen = seen || c == genre;
    if (!seen) chosen.push_back(genre);
  }
  file.line(count);
  for (int32_t genre : chosen) {
    file.line(genre);
    file.line(GenreNames[genre]);
  }
}

void writeMovie(TextFile& file, Dice& dice, int32_t movieNo,
                std::vector<int32_t>& runtimes) {
  file.line(movieNo);
  file.line("tt" + std::to_string(1000000 + 7919 * movieNo));
  file.line("Film " + std::to_string(movieNo + 1));
  const int32_t runtime = dice.between(80, 180);
  runtimes.push_back(runtime);
  file.line(runtime);
  const int32_t tenths = dice.between(10, 100);
  file.line(std::to_string(tenths / 10) + "." + std::to_string(tenths % 10));
  writeGenres(file, dice, dice.between(1, 3));
}

// Three in five viewers like the evening (17:00 to 23:59), the others any
// time from 08:00 to 01:59.
int32_t preferredTime(Dice& dice) {
  if (dice.between(1, 5) <= 3) return dice.between(17 * 60, 24 * 60 - 1);
  return dice.between(8 * 60, 26 * 60 - 1) % 1440;
}

void writeViewer(TextFile& file, Dice& dice) {
  const int32_t t = preferredTime(dice);
  // Room for any two ints, so the compiler need not prove the range of t.
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d", t / 60, t % 60);
  file.line(text);
  writeGenres(file, dice, dice.between(1, 4));
}

void writeSubmissionHead(TextFile& file, int32_t nScreenings) {
  file.line("123456");
  file.line("Tavo");
  file.line(1);
  file.line(nScreenings);
}

// Day d gets its share of the screenings, the first from late morning on,
// each after the previous one's end and a break; the last may pass midnight.
// Five films of at most 180 minutes and their breaks end before six in the
// morning; on the last day of the year they start early enough to end in it.
void writeSchedule(TextFile& file, Dice& dice, const CaseShape& shape,
                   const std::vector<int32_t>& runtimes) {
  writeSubmissionHead(file, shape.nScreenings);
  const int64_t nDays = 366;
  for (int64_t day = 0; day < nDays; ++day) {
    const int64_t nToday =
        (day + 1) * shape.nScreenings / nDays - day * shape.nScreenings / nDays;
    const bool lastDay = day == nDays - 1;
    int64_t minute = lastDay ? 6 * 60 + 30 : dice.between(10 * 60, 12 * 60);
    for (int64_t s = 0; s < nToday; ++s) {
      const int32_t movieNo = dice.between(0, shape.nMovies - 1);
      // After midnight a show belongs to the next day.
      file.line(std::to_string(movieNo) + " " +
                std::to_string(day + minute / 1440) + " " +
                std::to_string(minute % 1440));
      minute += runtimes[movieNo] + (lastDay ? 10 : dice.between(10, 40));
    }
  }
}

}  // namespace

bool writeCase(const CaseShape& shape, const std::string& testCasePath,
               const std::string& submissionPath) {
  Dice dice(shape.seed);
  std::vector<int32_t> runtimes;
  TextFile testCase(testCasePath);
  testCase.line("Tavo");
  testCase.line(1);
  testCase.line(shape.nMovies);
  for (int32_t m = 0; m < shape.nMovies; ++m)
    writeMovie(testCase, dice, m, runtimes);
  testCase.line(std::to_string(shape.nViewers) + " " +
                std::to_string(shape.nSeats));
  for (int32_t j = 0; j < shape.nViewers; ++j) writeViewer(testCase, dice);
  TextFile submission(submissionPath);
  writeSchedule(submission, dice, shape, runtimes);
  return testCase.close() && submission.close();
}

bool writeOneMinuteCase(int32_t nScreenings, const std::string& testCasePath,
                        const std::string& submissionPath) {
  TextFile testCase(testCasePath);
  for (const char* line :
       {"Tavo", "1", "1", "0", "tt1", "Minute", "1", "5.0", "1", "0", "Drama",
        "1 1", "20:00", "1", "0", "Drama"})
    testCase.line(line);
  TextFile submission(submissionPath);
  writeSubmissionHead(submission, nScreenings);
  for (int32_t i = 0; i < nScreenings; ++i)
    submission.line("0 " + std::to_string(i / 1440) + " " +
                    std::to_string(i % 1440));
  return testCase.close() && submission.close();
}
