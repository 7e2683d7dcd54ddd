#ifndef SKEDOMAT_SIMULATION_FAST_VIEWER_COLUMNS_H
#define SKEDOMAT_SIMULATION_FAST_VIEWER_COLUMNS_H

#include <cstdint>
#include <vector>

#include "simulation/fast/draw_bounds.h"

struct TestCase;

// The viewers' fields that the batched choice model reads, each in one
// contiguous array indexed by viewer, with the per-run tables and scratch
// that it needs. Built by Simulation::reset.
struct ViewerColumns {
  // Copies the viewers of `testCase` and the current factor tables.
  void build(const TestCase& testCase);

  std::vector<int16_t> preferredTime;
  std::vector<uint32_t> genres;
  // The preferred times of each complete group of VectorGroup viewers,
  // reordered within the group as the vector kernel reads them (see
  // groupedViewerOf).
  std::vector<int16_t> groupedTime;
  // repeatFactor(m) by viewing count m = 0 .. RepeatCounts - 1.
  std::vector<double> repeatFactors;
  // recencyOf(d) by days d = 0 .. RecencyEntries - 1, the last for every
  // older (or no) visit.
  std::vector<double> recency;
  // The time factors of the distances 0 .. MaxDistance, backwards.
  std::vector<double> reversedTime;
  // The largest time factor of each distance band.
  std::vector<double> bandTimeCeilings;
  // The screening's bounds.
  ScreeningBounds bounds;
  // Room for the kernels' output: one entry per viewer and one register.
  std::vector<int32_t> selected;
};

#endif  // SKEDOMAT_SIMULATION_FAST_VIEWER_COLUMNS_H
