#ifndef SKEDOMAT_TESTS_UNIT_MODEL_BUILDERS_H
#define SKEDOMAT_TESTS_UNIT_MODEL_BUILDERS_H

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "simulation/random_source.h"
#include "submission/screening.h"
#include "submission/submission.h"
#include "testcase/test_case.h"

// Small builders of test cases and screenings for tests that need a model in
// memory rather than read from files.

inline GenreSet genresOf(std::initializer_list<int> genres) {
  GenreSet set = 0;
  for (int g : genres) set |= GenreSet(1) << g;
  return set;
}

inline Movie makeMovie(int32_t runtime, double rating, GenreSet genres) {
  Movie movie;
  movie.runtime = runtime;
  movie.rating = rating;
  movie.genres = genres;
  return movie;
}

inline Viewer makeViewer(int32_t preferredTime, GenreSet genres) {
  Viewer viewer;
  viewer.preferredTime = preferredTime;
  viewer.genres = genres;
  return viewer;
}

inline TestCase makeTestCase(std::vector<Movie> movies, std::vector<Viewer> viewers,
                             int32_t nSeats) {
  TestCase testCase;
  testCase.movies = std::move(movies);
  testCase.nMovies = static_cast<int32_t>(testCase.movies.size());
  for (int32_t i = 0; i < testCase.nMovies; i++) testCase.movies[i].seqNo = i;
  testCase.viewers = std::move(viewers);
  testCase.nViewers = static_cast<int32_t>(testCase.viewers.size());
  testCase.nSeats = nSeats;
  return testCase;
}

// The small worked example of a run: one seat; film 0 of 120 minutes rated
// 7.5 with genre 0, film 1 of 90 minutes rated 3 with genres 1 and 2;
// viewers preferring 20:00 {0}, 18:30 {0, 1} and 09:00 {2}.
inline TestCase workedRunTestCase() {
  return makeTestCase({makeMovie(120, 7.5, genresOf({0})),
                       makeMovie(90, 3.0, genresOf({1, 2}))},
                      {makeViewer(20 * 60, genresOf({0})),
                       makeViewer(18 * 60 + 30, genresOf({0, 1})),
                       makeViewer(9 * 60, genresOf({2}))},
                      1);
}

// A screening with start and end set as validation sets them.
inline Screening makeScreening(const TestCase& testCase, int32_t movieNo,
                               int32_t day, int32_t startMinute) {
  Screening screening;
  screening.movieNo = movieNo;
  screening.day = day;
  screening.startMinute = startMinute;
  screening.start = int64_t(day) * 1440 + startMinute;
  screening.end = screening.start + testCase.movies[movieNo].runtime;
  return screening;
}

// A validated schedule of `screenings`: `order` by start, ties in file order.
inline Submission scheduleInStartOrder(std::vector<Screening> screenings) {
  Submission submission;
  submission.screenings = std::move(screenings);
  for (int32_t i = 0; i < static_cast<int32_t>(submission.screenings.size()); ++i)
    submission.order.push_back(i);
  std::stable_sort(submission.order.begin(), submission.order.end(),
                   [&](int32_t a, int32_t b) {
                     return submission.screenings[a].start <
                            submission.screenings[b].start;
                   });
  return submission;
}

// The first `count` outputs of a freshly seeded stream.
inline std::vector<uint32_t> streamOf(uint32_t seed, int count) {
  RandomSource::seed(seed);
  std::vector<uint32_t> outputs(count);
  for (uint32_t& output : outputs) output = RandomSource::next32();
  return outputs;
}

#endif  // SKEDOMAT_TESTS_UNIT_MODEL_BUILDERS_H
