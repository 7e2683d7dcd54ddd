#ifndef SKEDOMAT_SIMULATION_SCREENING_OBSERVER_H
#define SKEDOMAT_SIMULATION_SCREENING_OBSERVER_H

#include <cstdint>

// What one screening came to in a run.
struct ScreeningOutcome {
  int32_t screening;   // its index in the submission, from 0
  int32_t nDemand;     // viewers who wanted a ticket, before the lottery
  int32_t nSeated;     // viewers seated: the tickets it sold
  int32_t nFirstTime;  // seated viewers who had not seen the film in the run
};

// Watches a run screening by screening: Simulation::run tells it the
// outcome of each screening as it plays them, in start order.
class ScreeningObserver {
 public:
  virtual ~ScreeningObserver() = default;
  virtual void screeningPlayed(const ScreeningOutcome& outcome) = 0;
};

#endif  // SKEDOMAT_SIMULATION_SCREENING_OBSERVER_H
