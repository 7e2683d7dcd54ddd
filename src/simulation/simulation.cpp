#include "simulation/simulation.h"

#include <algorithm>

#include "driver/assertion.h"
#include "simulation/factor_tables.h"
#include "submission/submission.h"
#include "testcase/test_case.h"

namespace {

// Before the first visit a viewer's last visit lies more than a year back.
const int32_t NeverVisited = -367;

// Sorts the viewer indices (non-negative) values[0 .. n - 1] ascending.
// Without a lottery they come sorted; a lottery's winners are sorted by a
// least-significant-digit radix sort on bytes, as many passes as the largest
// index needs: linear in n, where comparison sorting a few hundred random
// indices costs more than the rest of the admission.
void sortViewerIndices(int32_t* values, int32_t n) {
  if (std::is_sorted(values, values + n)) return;
  const int32_t largest = *std::max_element(values, values + n);
  const int32_t Digits = 256;
  std::vector<int32_t> scratch(static_cast<size_t>(n));
  int32_t* from = values;
  int32_t* to = scratch.data();
  for (int32_t shift = 0; shift < 31 && (largest >> shift) > 0; shift += 8) {
    int32_t start[Digits + 1] = {};
    for (int32_t i = 0; i < n; ++i) ++start[((from[i] >> shift) & 0xFF) + 1];
    for (int32_t d = 0; d < Digits; ++d) start[d + 1] += start[d];
    for (int32_t i = 0; i < n; ++i)
      to[start[(from[i] >> shift) & 0xFF]++] = from[i];
    std::swap(from, to);
  }
  if (from != values) std::copy(from, from + n, values);
}

}  // namespace

void Simulation::reset() {
  buildFactorTables();
  nTicketsSold = 0;
  viewings.clear();
  lastDay.assign(testCase.nViewers, NeverVisited);
  viewings.resize(testCase.nMovies);
  columns.build(testCase);
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
  sortViewerIndices(candidates.data(), k);
  std::vector<Viewing>& seen = viewings[screening.movieNo];
  const int32_t n = static_cast<int32_t>(seen.size());

  // Count the repeat viewings in place; collect the newcomers, ascending.
  std::vector<int32_t> newcomers;
  nTicketsSold += k;
  int32_t i = 0;
  for (int32_t c = 0; c < k; ++c) {
    const int32_t v = candidates[c];
    lastDay[v] = screening.day;
    // The winners are few against the film's records, but far apart only
    // when the list is long: a plain scan, one mispredicted exit per
    // winner, beat a galloping search, which mispredicts at every step.
    while (i < n && seen[i].iViewer < v) ++i;
    if (i < n && seen[i].iViewer == v) {
      seen[i].nSeen += 1;
      ++i;
    } else {
      newcomers.push_back(v);
    }
  }
  mergeNewcomers(seen, newcomers);
}

void Simulation::mergeNewcomers(std::vector<Viewing>& seen,
                                const std::vector<int32_t>& newcomers) {
  // Merge from the back, in place: every record above a newcomer moves up
  // by the number of newcomers below it, in one scan over the list.
  const int32_t n = static_cast<int32_t>(seen.size());
  const int32_t nNew = static_cast<int32_t>(newcomers.size());
  seen.resize(static_cast<size_t>(n + nNew), Viewing{-1, -1});
  Viewing* records = seen.data();
  int32_t iDest = n + nNew;
  int32_t src = n;
  for (int32_t w = nNew - 1; w >= 0; --w) {
    const int32_t newcomer = newcomers[w];
    while (src > 0 && records[src - 1].iViewer > newcomer)
      records[--iDest] = records[--src];
    records[--iDest] = Viewing{newcomer, 1};
  }
  Assert(iDest >= 0);
}
