#include "simulation/fast/viewer_columns.h"

#include "simulation/choice_model.h"
#include "simulation/factor_tables.h"
#include "simulation/fast/choice_inputs.h"
#include "simulation/fast/choice_kernels.h"
#include "simulation/fast/time_by_preference.h"
#include "testcase/test_case.h"

void ViewerColumns::build(const TestCase& testCase) {
  preferredTime.clear();
  genres.clear();
  for (const Viewer& viewer : testCase.viewers) {
    preferredTime.push_back(static_cast<int16_t>(viewer.preferredTime));
    genres.push_back(viewer.genres);
  }
  const size_t nGrouped = preferredTime.size() / VectorGroup * VectorGroup;
  groupedTime.resize(nGrouped);
  for (size_t group = 0; group < nGrouped; group += VectorGroup)
    for (int32_t p = 0; p < VectorGroup; ++p)
      groupedTime[group + p] = preferredTime[group + groupedViewerOf(p)];
  repeatFactors.resize(RepeatCounts);
  for (int32_t m = 0; m < RepeatCounts; ++m) repeatFactors[m] = repeatFactor(m);
  recency.resize(RecencyEntries);
  for (int32_t d = 0; d < RecencyEntries; ++d) recency[d] = recencyOf(d);
  reversedTime.resize(MaxDistance + 1);
  reverseTimeFactors(timeFactor, reversedTime.data());
  bandTimeCeilings.resize(DistanceBands);
  findBandTimeCeilings(timeFactor, bandTimeCeilings.data());
  // Eight spare entries: a vector kernel stores a whole register of lanes.
  selected.resize(testCase.viewers.size() + 8);
}
