#include "generate/baseline_schedule.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/assertion.h"
#include "base/calendar.h"
#include "testcase/test_case.h"

namespace {

// How many of the best films take turns each evening: enough that a viewer
// rarely meets the same film twice in a week.
const size_t FilmsInTurn = 7;
const int64_t FirstStart = 17 * 60;
const int64_t LastStart = 23 * 60;
const int64_t Break = 15;

// The films, the most appealing first: rating times the viewers who share
// at least one genre with the film; equal ones by number.
std::vector<int32_t> rankedFilms(const TestCase& testCase) {
  std::vector<double> appeal(testCase.movies.size(), 0);
  for (size_t m = 0; m < testCase.movies.size(); ++m) {
    int64_t nInterested = 0;
    for (const Viewer& viewer : testCase.viewers)
      if ((viewer.genres & testCase.movies[m].genres) != 0) ++nInterested;
    appeal[m] = testCase.movies[m].rating * static_cast<double>(nInterested);
  }
  std::vector<int32_t> films(testCase.movies.size());
  for (size_t m = 0; m < films.size(); ++m) films[m] = static_cast<int32_t>(m);
  std::stable_sort(films.begin(), films.end(),
                   [&appeal](int32_t a, int32_t b) { return appeal[a] > appeal[b]; });
  return films;
}

struct Show {
  int32_t movieNo;
  int64_t start;  // minute of the year
};

std::vector<Show> eveningShows(const TestCase& testCase) {
  std::vector<int32_t> films = rankedFilms(testCase);
  films.resize(std::min(films.size(), FilmsInTurn));
  std::vector<Show> shows;
  if (films.empty()) return shows;
  size_t turn = 0;
  int64_t free = 0;  // the hall is free from this minute on
  for (int64_t day = 0; day < DaysPerYear; ++day) {
    int64_t start = std::max(day * MinutesPerDay + FirstStart, free);
    while (start <= day * MinutesPerDay + LastStart) {
      const int32_t movieNo = films[turn % films.size()];
      const int64_t end = start + testCase.movies[movieNo].runtime;
      if (end > MinutesPerYear) break;
      shows.push_back(Show{movieNo, start});
      ++turn;
      free = end + Break;
      start = free;
    }
  }
  return shows;
}

}  // namespace

std::string baselineSchedule(const TestCase& testCase) {
  const std::vector<Show> shows = eveningShows(testCase);
  std::string text = "000000\nTavo\n" + intToStr(testCase.caseNo) + "\n" +
                     intToStr(static_cast<int64_t>(shows.size())) + "\n";
  for (const Show& show : shows)
    text += intToStr(show.movieNo) + " " + intToStr(show.start / MinutesPerDay) +
            " " + intToStr(show.start % MinutesPerDay) + "\n";
  return text;
}
