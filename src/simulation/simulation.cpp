#include "simulation/simulation.h"

#include <algorithm>

#include "driver/assertion.h"
#include "simulation/factor_tables.h"
#include "submission/submission.h"
#include "testcase/test_case.h"

namespace {

// Before the first visit a viewer's last visit lies more than a year back.
const int32_t NeverVisited = -367;

}  // namespace

void Simulation::reset() {
  buildFactorTables();
  nTicketsSold = 0;
  viewings.clear();
  lastDay.assign(testCase.nViewers, NeverVisited);
  viewings.resize(testCase.nMovies);
}

void Simulation::run(const Submission& submission) {
  reset();
  std::vector<int32_t> candidates;
  for (size_t p = 0; p < submission.screenings.size(); ++p) {
    const Screening& screening = submission.screenings[submission.order[p]];
    collectCandidates(screening, candidates);
    admit(screening, candidates);
  }
}

void Simulation::admit(const Screening& screening,
                       std::vector<int32_t>& candidates) {
  const int32_t k = std::min(testCase.nSeats,
                             static_cast<int32_t>(candidates.size()));
  std::sort(candidates.begin(), candidates.begin() + k);
  std::vector<Viewing>& seen = viewings[screening.movieNo];
  const int32_t n = static_cast<int32_t>(seen.size());

  // Count the repeat viewings in place; newcomers get a placeholder at the
  // end, filled by the merge below.
  std::vector<int32_t> newcomers;
  int32_t i = 0;
  for (int32_t c = 0; c < k; ++c) {
    const int32_t v = candidates[c];
    nTicketsSold += 1;
    lastDay[v] = screening.day;
    while (i < n && seen[i].iViewer < v) ++i;
    if (i < n && seen[i].iViewer == v) {
      seen[i].nSeen += 1;
      ++i;
    } else {
      newcomers.push_back(v);
      seen.push_back(Viewing{-1, -1});
    }
  }

  // Merge the newcomers into the sorted records from the back, moving each
  // record at most once.
  int32_t iDest = n + static_cast<int32_t>(newcomers.size());
  int32_t src = n;
  for (auto w = newcomers.rbegin(); w != newcomers.rend(); ++w) {
    while (src > 0 && seen[src - 1].iViewer > *w) {
      --src;
      --iDest;
      seen[iDest] = seen[src];
    }
    --iDest;
    seen[iDest] = Viewing{*w, 1};
  }
  Assert(iDest >= 0);
}
