#include "explain/screening_stats.h"

#include "simulation/simulation.h"
#include "submission/submission.h"
#include "testcase/test_case.h"

void ScreeningStats::playRun(Simulation& simulation,
                             const Submission& submission) {
  tallies_.resize(submission.screenings.size());
  const int32_t nSeats = simulation.testCase.nSeats;
  simulation.reset();
  std::vector<int32_t> candidates;
  for (int32_t index : submission.order) {
    const Screening& screening = submission.screenings[index];
    simulation.collectCandidates(screening, candidates);
    const int64_t demand = static_cast<int64_t>(candidates.size());
    const int32_t ticketsBefore = simulation.nTicketsSold;
    const size_t viewersBefore = simulation.viewings[screening.movieNo].size();
    simulation.admit(screening, candidates);

    ScreeningTally& tally = tallies_[index];
    tally.nDemand += demand;
    tally.nTickets += simulation.nTicketsSold - ticketsBefore;
    tally.nFirstTime += static_cast<int64_t>(
        simulation.viewings[screening.movieNo].size() - viewersBefore);
    if (demand >= nSeats) tally.nSoldOut += 1;
  }
  nRuns_ += 1;
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
