#include "simulation/simulation.h"

#include <algorithm>

#include "driver/assertion.h"
#include "simulation/choice_kernels.h"
#include "simulation/factor_tables.h"
#include "submission/submission.h"
#include "testcase/test_case.h"

namespace {

// Before the first visit a viewer's last visit lies more than a year back.
const int32_t NeverVisited = -367;

// Admission marks the scattered count of a winner who has a record with the
// top bit, which no count reaches (they stay below RepeatCounts).
const int32_t SeatedShift = 15;
const uint16_t SeatedMark = 1U << SeatedShift;
static_assert(RepeatCounts <= SeatedMark, "counts leave the top bit free");

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

// The index of the lowest set bit of a non-zero word.
inline int32_t lowestBit(uint64_t word) {
  return static_cast<int32_t>(__builtin_ctzll(word));
}

}  // namespace

void Simulation::reset() {
  buildFactorTables();
  nTicketsSold = 0;
  viewings.clear();
  lastDay.assign(testCase.nViewers, NeverVisited);
  viewings.resize(testCase.nMovies);
  buildScratch();
}

void Simulation::buildScratch() {
  columns.build(testCase);
  totalSeen.assign(testCase.viewers.size(), 0);
  hasRecord.assign((testCase.viewers.size() + 63) / 64, 0);
  scatteredMovie = NoMovie;
}

void Simulation::prepareScratch() {
  // reset builds them; a caller that set up the run's lists by itself gets
  // them here.
  if (columns.preferredTime.size() != testCase.viewers.size()) buildScratch();
}

void Simulation::run(const Submission& submission) {
  reset();
  // The batched passes read a film's list only to add up each viewer's
  // viewings (they scatter the counts), so within the run a list may be a
  // log: admission appends a record of one viewing for every winner, and
  // the records are merged and sorted once at the end. The reference path
  // plays the screenings exactly as defined.
  const bool asLogs = choiceModelPath != ChoiceModelPath::Reference;
  std::vector<int32_t> candidates;
  for (size_t p = 0; p < submission.screenings.size(); ++p) {
    const Screening& screening = submission.screenings[submission.order[p]];
    collectCandidates(screening, candidates);
    if (asLogs)
      admitToLog(screening, candidates);
    else
      admit(screening, candidates);
  }
  if (asLogs) sortViewings();
}

void Simulation::admit(const Screening& screening,
                       std::vector<int32_t>& candidates) {
  const int32_t k = std::min(testCase.nSeats,
                             static_cast<int32_t>(candidates.size()));
  // The newcomers' list is not in use yet: it lends the sort its room.
  sortViewerIndices(candidates.data(), k, newcomers);
  prepareScratch();
  if (scatteredMovie != screening.movieNo)
    scatterRepeatCounts(screening.movieNo);

  // A winner with a count has a record, to count one more viewing on: the
  // count is marked for recordVisits. The others are the newcomers,
  // ascending.
  nTicketsSold += k;
  newcomers.resize(static_cast<size_t>(k));
  uint16_t* const counts = columns.repeatCount.data();
  int32_t nNew = 0;
  for (int32_t c = 0; c < k; ++c) {
    const int32_t v = candidates[c];
    lastDay[v] = screening.day;
    const bool hasRecord = counts[v] != 0;
    counts[v] = static_cast<uint16_t>(counts[v] | (hasRecord ? SeatedMark : 0));
    newcomers[nNew] = v;
    nNew += hasRecord ? 0 : 1;
  }
  newcomers.resize(static_cast<size_t>(nNew));
  recordVisits(viewings[screening.movieNo]);
}

void Simulation::scatterRepeatCounts(int32_t movieNo) {
  // Counts left by a pass that no admit took up may belong to lists that
  // have changed since: clear them all.
  if (scatteredMovie != NoMovie)
    std::fill(columns.repeatCount.begin(), columns.repeatCount.end(), 0);
  // A viewer may have several records in a run's log (see admitToLog):
  // their viewings add up. A list as defined has one record per viewer.
  const std::vector<Viewing>& seen = viewings[movieNo];
  uint16_t* const counts = columns.repeatCount.data();
  const int32_t cap = RepeatCounts - 1;
  size_t nRepeated = 0;
  for (const Viewing& viewing : seen) {
    uint16_t& count = counts[viewing.iViewer];
    nRepeated += count != 0 ? 1 : 0;
    count = static_cast<uint16_t>(
        std::min(count + std::min(viewing.nSeen, cap), cap));
  }
  repeatedRecords = nRepeated;
  scatteredMovie = movieNo;
}

void Simulation::recordVisits(std::vector<Viewing>& seen) {
  // Merge the newcomers in from the back, in place: every record above a
  // newcomer moves up by the number of newcomers below it. The same scan
  // counts the seated viewers' visits and clears the scattered counts, so
  // it goes on over the records below the first newcomer too.
  // Plain pointers: through the members, every byte stored would make the
  // compiler load the vectors' data pointers again.
  uint16_t* const counts = columns.repeatCount.data();
  const auto visit = [counts](Viewing& record) {
    const int32_t v = record.iViewer;
    record.nSeen += counts[v] >> SeatedShift;
    counts[v] = 0;
  };
  const int32_t n = static_cast<int32_t>(seen.size());
  const int32_t nNew = static_cast<int32_t>(newcomers.size());
  // Zeros, where the merge writes every new place: resizing with a given
  // value copies it element by element through memory, ten times slower.
  seen.resize(static_cast<size_t>(n + nNew));
  Viewing* records = seen.data();
  int32_t iDest = n + nNew;
  int32_t src = n;
  for (int32_t w = nNew - 1; w >= 0; --w) {
    const int32_t newcomer = newcomers[w];
    while (src > 0 && records[src - 1].iViewer > newcomer) {
      // Changed in a copy: reading back a record just partly written
      // stalls the processor.
      Viewing record = records[--src];
      visit(record);
      records[--iDest] = record;
    }
    records[--iDest] = Viewing{newcomer, 1};
  }
  Assert(iDest >= 0);
  while (src > 0) visit(records[--src]);
  scatteredMovie = NoMovie;
}

void Simulation::admitToLog(const Screening& screening,
                            std::vector<int32_t>& candidates) {
  const int32_t k = std::min(testCase.nSeats,
                             static_cast<int32_t>(candidates.size()));
  prepareScratch();
  if (scatteredMovie != screening.movieNo)
    scatterRepeatCounts(screening.movieNo);

  // Which winners have seen the film before is known from the counts only
  // to tell when the log needs merging.
  nTicketsSold += k;
  std::vector<Viewing>& seen = viewings[screening.movieNo];
  const size_t n = seen.size();
  seen.resize(n + static_cast<size_t>(k));
  Viewing* const added = seen.data() + n;
  const uint16_t* const counts = columns.repeatCount.data();
  size_t nRepeated = repeatedRecords;
  for (int32_t c = 0; c < k; ++c) {
    const int32_t v = candidates[c];
    lastDay[v] = screening.day;
    added[c] = Viewing{v, 1};
    nRepeated += counts[v] != 0 ? 1 : 0;
  }
  // The counts of the film's viewers are spread over the whole column;
  // clearing all of it in order costs less than clearing them one by one.
  std::fill(columns.repeatCount.begin(), columns.repeatCount.end(), 0);
  scatteredMovie = NoMovie;
  // A log mostly of repeated viewers is merged, so that a list never holds
  // more than twice as many records as viewers.
  if (2 * nRepeated > seen.size()) mergeAndSort(seen);
}

void Simulation::mergeAndSort(std::vector<Viewing>& seen) {
  // The records are spread over a bitmap of the viewers, their viewings
  // added up by viewer, and read back in the bitmap's order: a pass over the
  // bitmap and two steps per record, where sorting the records moves each
  // of them several times.
  if (seen.empty()) return;
  int32_t* const total = totalSeen.data();
  for (const Viewing& viewing : seen) {
    hasRecord[viewing.iViewer >> 6] |= uint64_t(1) << (viewing.iViewer & 63);
    total[viewing.iViewer] += viewing.nSeen;
  }
  Viewing* next = seen.data();
  for (size_t w = 0; w < hasRecord.size(); ++w) {
    for (uint64_t bits = hasRecord[w]; bits != 0; bits &= bits - 1) {
      const int32_t v = static_cast<int32_t>(w * 64) + lowestBit(bits);
      *next++ = Viewing{v, total[v]};
      total[v] = 0;
    }
    hasRecord[w] = 0;
  }
  seen.resize(static_cast<size_t>(next - seen.data()));
}

void Simulation::sortViewings() {
  for (std::vector<Viewing>& seen : viewings) mergeAndSort(seen);
}
