#include "simulation/simulation.h"

#include <algorithm>

#include "base/assertion.h"
#include "base/calendar.h"
#include "simulation/factor_tables.h"
#include "submission/submission.h"
#include "testcase/test_case.h"

namespace {

// Sorts the viewer indices (non-negative) values[0 .. n - 1] ascending.
// Without a lottery they come sorted; a lottery's winners are sorted by a
// least-significant-digit radix sort on bytes, as many passes as the largest
// index needs: linear in n, where comparison sorting a few hundred random
// indices costs more than the rest of the admission. `scratch` is room for
// the passes' copies, kept from call to call.
void sortViewerIndices(int32_t* values, int32_t n,
                       std::vector<int32_t>& scratch) {
  if (std::is_sorted(values, values + n)) return;
  const int32_t largest = *std::max_element(values, values + n);
  const int32_t Digits = 256;
  scratch.resize(static_cast<size_t>(n));
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
  lastDay.assign(testCase.nViewers, NeverVisitedDay);
  viewings.resize(testCase.nMovies);
  buildScratch();
}

void Simulation::buildScratch() {
  columns.build(testCase);
  listedAudience.resize(testCase.nViewers);
}

void Simulation::prepareScratch() {
  // reset builds them; a caller that set up the run's lists by itself gets
  // them here.
  if (columns.preferredTime.size() != testCase.viewers.size()) buildScratch();
}

void Simulation::run(const Submission& submission,
                     ScreeningObserver* observer) {
  reset();
  // The batched passes keep every screened film's viewers as a
  // FilmAudience through the run: admission only sets a viewer's bits, and
  // the lists are written once, at the end. Only when the audiences would
  // take too much memory, and on the reference path, are the lists kept as
  // defined, screening by screening.
  const bool withAudiences = choiceModelPath != ChoiceModelPath::Reference &&
                             prepareAudiences(submission);
  std::vector<int32_t> candidates;
  for (size_t p = 0; p < submission.screenings.size(); ++p) {
    const int32_t index = submission.order[p];
    const Screening& screening = submission.screenings[index];
    const int32_t ticketsBefore = nTicketsSold;
    const int32_t viewersBefore =
        observer != nullptr ? nViewersOfFilm(screening.movieNo, withAudiences)
                            : 0;
    if (withAudiences) {
      FilmAudience& audience = audiences[screening.movieNo];
      collectFrom(screening, audience, candidates);
      admitTo(screening, audience, candidates);
    } else {
      collectCandidates(screening, candidates);
      admit(screening, candidates);
    }
    if (observer != nullptr)
      observer->screeningPlayed(ScreeningOutcome{
          index, static_cast<int32_t>(candidates.size()),
          nTicketsSold - ticketsBefore,
          nViewersOfFilm(screening.movieNo, withAudiences) - viewersBefore});
  }
  if (withAudiences) writeAudiences();
}

int32_t Simulation::nViewersOfFilm(int32_t movieNo, bool withAudiences) const {
  if (withAudiences) return audiences[movieNo].nViewersSeen();
  return static_cast<int32_t>(viewings[movieNo].size());
}

bool Simulation::prepareAudiences(const Submission& submission) {
  std::vector<bool> screened(testCase.movies.size(), false);
  size_t nScreened = 0;
  for (const Screening& screening : submission.screenings) {
    if (screened[screening.movieNo]) continue;
    screened[screening.movieNo] = true;
    ++nScreened;
  }
  const size_t bytesPerFilm =
      (testCase.viewers.size() + FilmAudience::ViewersPerWord - 1) /
      FilmAudience::ViewersPerWord * sizeof(uint64_t);
  if (nScreened > maxAudienceBytes / bytesPerFilm) return false;
  audiences.assign(testCase.movies.size(), FilmAudience());
  for (size_t m = 0; m < screened.size(); ++m)
    if (screened[m]) audiences[m].resize(testCase.nViewers);
  return true;
}

void Simulation::admitTo(const Screening& screening, FilmAudience& audience,
                         const std::vector<int32_t>& candidates) {
  const int32_t k = std::min(testCase.nSeats,
                             static_cast<int32_t>(candidates.size()));
  nTicketsSold += k;
  for (int32_t c = 0; c < k; ++c) {
    const int32_t v = candidates[c];
    lastDay[v] = screening.day;
    audience.addViewing(v);
  }
}

void Simulation::writeAudiences() {
  for (size_t m = 0; m < audiences.size(); ++m)
    audiences[m].appendTo(viewings[m]);
  audiences.clear();
}

void Simulation::admit(const Screening& screening,
                       std::vector<int32_t>& candidates) {
  const int32_t k = std::min(testCase.nSeats,
                             static_cast<int32_t>(candidates.size()));
  sortViewerIndices(candidates.data(), k, sortScratch);
  nTicketsSold += k;
  for (int32_t c = 0; c < k; ++c) lastDay[candidates[c]] = screening.day;
  recordVisits(viewings[screening.movieNo], candidates.data(), k);
}

void Simulation::recordVisits(std::vector<Viewing>& seen,
                              const int32_t* winners, int32_t nWinners) {
  // One pass forward over both ascending sequences counts the newcomers;
  // then they are merged in from the back, in place: every record above a
  // newcomer moves up by the number of newcomers below it.
  const int32_t n = static_cast<int32_t>(seen.size());
  int32_t nNew = 0;
  for (int32_t i = 0, w = 0; w < nWinners; ++w) {
    while (i < n && seen[i].iViewer < winners[w]) ++i;
    nNew += i < n && seen[i].iViewer == winners[w] ? 0 : 1;
  }
  seen.resize(static_cast<size_t>(n + nNew));
  Viewing* const records = seen.data();
  int32_t src = n;
  int32_t dest = n + nNew;
  for (int32_t w = nWinners - 1; w >= 0; --w) {
    const int32_t v = winners[w];
    while (src > 0 && records[src - 1].iViewer > v)
      records[--dest] = records[--src];
    if (src > 0 && records[src - 1].iViewer == v) {
      Viewing record = records[--src];
      ++record.nSeen;
      records[--dest] = record;
    } else {
      records[--dest] = Viewing{v, 1};
    }
  }
  Assert(dest == src);
}
