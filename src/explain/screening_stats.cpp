#include "explain/screening_stats.h"

#include "simulation/simulation.h"
#include "submission/submission.h"
#include "testcase/test_case.h"

void ScreeningStats::playRun(Simulation& simulation,
                             const Submission& submission) {
  tallies_.resize(submission.screenings.size());
  nSeats_ = simulation.testCase.nSeats;
  simulation.run(submission, this);
  nRuns_ += 1;
}

void ScreeningStats::screeningPlayed(const ScreeningOutcome& outcome) {
  ScreeningTally& tally = tallies_[outcome.screening];
  tally.nDemand += outcome.nDemand;
  tally.nTickets += outcome.nSeated;
  tally.nFirstTime += outcome.nFirstTime;
  if (outcome.nDemand >= nSeats_) tally.nSoldOut += 1;
}

double ScreeningStats::perRun(int64_t total) const {
  return nRuns_ == 0 ? 0.0
                     : static_cast<double>(total) / static_cast<double>(nRuns_);
}

double ScreeningStats::meanTickets(size_t screening) const {
  return perRun(tallies_[screening].nTickets);
}

double ScreeningStats::meanDemand(size_t screening) const {
  return perRun(tallies_[screening].nDemand);
}

double ScreeningStats::meanFirstTime(size_t screening) const {
  return perRun(tallies_[screening].nFirstTime);
}
