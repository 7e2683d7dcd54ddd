#ifndef SKEDOMAT_SIMULATION_VIEWING_H
#define SKEDOMAT_SIMULATION_VIEWING_H

#include <cstdint>

// Who has seen a film in the current run, and how often: the run keeps one
// record per viewer of each film, sorted by viewer.
struct Viewing {
  int32_t iViewer;
  int32_t nSeen;
};

#endif  // SKEDOMAT_SIMULATION_VIEWING_H
