#include <algorithm>

#include "simulation/choice_model.h"
#include "simulation/fast/choice_inputs.h"
#include "simulation/fast/choice_kernels.h"
#include "simulation/random_source.h"
#include "simulation/simulation.h"
#include "submission/screening.h"
#include "testcase/test_case.h"

// The batched choice model (Simulation's collectBatched and collectFrom): the
// same chances, draws and candidates as the reference model, computed by a
// kernel over contiguous viewer columns and whole runs of the generator's
// outputs.

namespace {

ChoiceKernel kernelFor(ChoiceModelPath path) {
  switch (path) {
    case ChoiceModelPath::Sse2:
      return selectViewersSse2;
    case ChoiceModelPath::Avx2:
      return selectViewersAvx2;
    default:
      return selectViewersPortable;
  }
}

// The viewers 0 .. nViewers - 1 in ascending order against the outputs in
// stream order, one stretch of the generator's window at a time; returns how
// many the kernel selected. The stretches start at multiples of
// VectorGroup, so that the vector kernel sees whole groups: the draws of a
// group that straddles the end of a window are copied into one piece.
int32_t selectViewers(ChoiceKernel kernel, const ChoiceInputs& in,
                      int32_t nViewers, int32_t* selected) {
  int32_t nSelected = 0;
  for (int32_t first = 0; first < nViewers;) {
    const uint32_t* draws = nullptr;
    const int32_t count = RandomSource::nextOutputs(nViewers - first, draws);
    const int32_t end = first + count;
    const int32_t whole =
        end == nViewers ? count : count - end % VectorGroup;
    nSelected += kernel(in, first, whole, draws, selected + nSelected);
    first += whole;
    if (whole == count) continue;
    uint32_t straddling[VectorGroup];
    const int32_t groupSize = std::min(VectorGroup, nViewers - first);
    std::copy(draws + whole, draws + count, straddling);
    for (int32_t filled = count - whole; filled < groupSize;) {
      const int32_t more = RandomSource::nextOutputs(groupSize - filled, draws);
      std::copy(draws, draws + more, straddling + filled);
      filled += more;
    }
    nSelected +=
        kernel(in, first, groupSize, straddling, selected + nSelected);
    first += groupSize;
  }
  return nSelected;
}

}  // namespace

void Simulation::collectBatched(const Screening& screening,
                                std::vector<int32_t>& candidates) {
  prepareScratch();
  listedAudience.assign(viewings[screening.movieNo]);
  collectFrom(screening, listedAudience, candidates);
}

void Simulation::collectFrom(const Screening& screening,
                             const FilmAudience& audience,
                             std::vector<int32_t>& candidates) {
  const Movie& movie = testCase.movies[screening.movieNo];
  const ChoiceInputs in = choiceInputsFor(columns, lastDay, screening, movie,
                                          audience, columns.bounds);
  int32_t* const selected = columns.selected.data();
  const int32_t nSelected = selectViewers(kernelFor(choiceModelPath), in,
                                          testCase.nViewers, selected);
  candidates.assign(selected, selected + nSelected);
  if (nSelected > testCase.nSeats)
    pickRandomPrefix(candidates, testCase.nSeats);
}
