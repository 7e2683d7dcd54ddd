#ifndef SKEDOMAT_EXPLAIN_SCREENING_STATS_H
#define SKEDOMAT_EXPLAIN_SCREENING_STATS_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "simulation/screening_observer.h"

class Simulation;
struct Submission;

// What one screening saw, summed over the runs.
struct ScreeningTally {
  int64_t nTickets = 0;    // viewers seated
  int64_t nDemand = 0;     // viewers who wanted a ticket, before the lottery
  int64_t nFirstTime = 0;  // seated viewers who had not seen the film before
  int32_t nSoldOut = 0;    // runs in which every seat was sold
};

// Where the tickets of an evaluation came from: watches each run and records
// per screening (in file order) the demand, the tickets and the newcomers to
// the film, summed over the runs.
class ScreeningStats : public ScreeningObserver {
 public:
  // Plays one whole run on `simulation`, fresh and seeded, over the
  // validated `submission`, watching it.
  void playRun(Simulation& simulation, const Submission& submission);
  void screeningPlayed(const ScreeningOutcome& outcome) override;

  int32_t nRuns() const { return nRuns_; }
  const std::vector<ScreeningTally>& tallies() const { return tallies_; }

  // Means over the runs; 0 before the first run.
  double meanTickets(size_t screening) const;
  double meanDemand(size_t screening) const;
  double meanFirstTime(size_t screening) const;

 private:
  double perRun(int64_t total) const;

  std::vector<ScreeningTally> tallies_;
  int32_t nRuns_ = 0;
  int32_t nSeats_ = 0;  // of the run being played
};

#endif  // SKEDOMAT_EXPLAIN_SCREENING_STATS_H
