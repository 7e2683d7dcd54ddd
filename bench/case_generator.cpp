#include "case_generator.h"

#include <cstdio>
#include <vector>

#include "base/assertion.h"
#include "generate/case_dice.h"
#include "generate/case_generator.h"
#include "testcase/test_case.h"

namespace {

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
  void text(const std::string& text) {
    if (file_ != nullptr && std::fwrite(text.data(), 1, text.size(), file_) != text.size())
      ok_ = false;
  }
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

void writeSubmissionHead(TextFile& file, int32_t nScreenings) {
  file.line("123456");
  file.line("Tavo");
  file.line(1);
  file.line(nScreenings);
}

// Day d gets its share of the screenings, the first from late morning on,
// each after the previous one's end and a break; the last may pass midnight.
// Five films of at most 200 minutes and their breaks end before ten in the
// morning; on the last day of the year they start early enough to end in it.
void writeSchedule(TextFile& file, CaseDice& dice, const CaseShape& shape,
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

// The films' running times, read back from the generated test case.
bool readRuntimes(const std::string& testCasePath, std::vector<int32_t>& runtimes) {
  TestCase testCase;
  try {
    testCase.read(testCasePath);
  } catch (const EAssertion&) {
    return false;
  }
  for (const Movie& movie : testCase.movies) runtimes.push_back(movie.runtime);
  return true;
}

}  // namespace

bool writeCase(const CaseShape& shape, const std::string& testCasePath,
               const std::string& submissionPath) {
  CaseParameters parameters;
  parameters.nMovies = shape.nMovies;
  parameters.nViewers = shape.nViewers;
  parameters.nSeats = shape.nSeats;
  parameters.caseNo = 1;
  TextFile testCase(testCasePath);
  testCase.text(generateTestCase(shape.seed, parameters));
  std::vector<int32_t> runtimes;
  if (!testCase.close() || !readRuntimes(testCasePath, runtimes)) return false;
  // The schedule's draws are the generator's too, from a seed of their own.
  CaseDice dice(shape.seed ^ 0x5C4ED01EULL);
  TextFile submission(submissionPath);
  writeSchedule(submission, dice, shape, runtimes);
  return submission.close();
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
