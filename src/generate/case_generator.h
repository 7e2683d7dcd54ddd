#ifndef SKEDOMAT_GENERATE_CASE_GENERATOR_H
#define SKEDOMAT_GENERATE_CASE_GENERATOR_H

#include <cstdint>
#include <functional>
#include <string>

// Test cases made from a seed. Every parameter the caller leaves at -1 is
// drawn from the seed:
//
//   films          10 .. 2000, log-uniform
//   viewers        100 .. 50000, log-uniform
//   seats          10 .. 500, uniform
//   genres         15 .. 32 of them, named; a film or viewer has 1 .. 5,
//                  genre g drawn with weight 1 / (g + 1), so the first are
//                  the popular ones
//   running time   60 .. 200 minutes, uniform
//   rating         0.0 .. 10.0 in tenths, uniform
//   title          one to three words (two in four: two), some of them
//                  Slovenian with č, š, ž in Windows-1250
//   preferred time evening 18:00-22:59 (50 %), afternoon 14:00-17:59
//                  (20 %), late 23:00-01:59 (15 %), any minute (15 %)
//   case number    the seed modulo 1000000
//
// The same seed and parameters give the same bytes on every platform.
struct CaseParameters {
  int32_t nMovies = -1;
  int32_t nViewers = -1;
  int32_t nSeats = -1;
  int32_t caseNo = -1;
};

// The test-case file of `seed`, with LF line ends.
std::string generateTestCase(uint64_t seed, const CaseParameters& parameters);

// The same bytes handed to `write` piece by piece as they are made, so that
// a case of any size takes little memory.
void generateTestCase(uint64_t seed, const CaseParameters& parameters,
                      const std::function<void(const std::string& piece)>& write);

#endif  // SKEDOMAT_GENERATE_CASE_GENERATOR_H
