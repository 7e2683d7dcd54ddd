#ifndef SKEDOMAT_BENCH_CASE_GENERATOR_H
#define SKEDOMAT_BENCH_CASE_GENERATOR_H

#include <cstdint>
#include <string>

// The shape of a generated test case and its schedule.
struct CaseShape {
  uint64_t seed = 1;
  int32_t nMovies = 200;
  int32_t nViewers = 20000;
  int32_t nSeats = 250;
  int32_t nScreenings = 1800;  // spread over the whole year, at most 1830
};

// Writes a test case made by `Skedomat generate`'s generator with the
// shape's sizes, and a valid schedule for it, both determined by `shape`
// alone: several screenings on every day of the year, the late ones passing
// midnight. Returns false when a file cannot be written.
bool writeCase(const CaseShape& shape, const std::string& testCasePath,
               const std::string& submissionPath);

// Writes a test case with one film of one minute and a valid schedule that
// shows it `nScreenings` times back to back from the start of the year (at
// most the 527040 minutes of the year).
bool writeOneMinuteCase(int32_t nScreenings, const std::string& testCasePath,
                        const std::string& submissionPath);

#endif  // SKEDOMAT_BENCH_CASE_GENERATOR_H
