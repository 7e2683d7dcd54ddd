#ifndef SKEDOMAT_TESTS_UNIT_MODEL_BUILDERS_H
#define SKEDOMAT_TESTS_UNIT_MODEL_BUILDERS_H

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "submission/screening.h"
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

#endif  // SKEDOMAT_TESTS_UNIT_MODEL_BUILDERS_H
