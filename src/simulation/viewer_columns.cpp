#include "simulation/viewer_columns.h"

#include "simulation/choice_kernels.h"
#include "simulation/factor_tables.h"
#include "testcase/test_case.h"

void ViewerColumns::build(const TestCase& testCase) {
  preferredTime.clear();
  genres.clear();
  for (const Viewer& viewer : testCase.viewers) {
    preferredTime.push_back(static_cast<int16_t>(viewer.preferredTime));
    genres.push_back(viewer.genres);
  }
  repeatCount.assign(testCase.viewers.size(), 0);
  repeatFactors.assign(RepeatCounts, 1.0);
  for (int32_t m = 1; m < RepeatCounts; ++m) repeatFactors[m] = repeatFactor(m);
  recency.assign(recencyFactor, recencyFactor + RecencyDays);
  recency.resize(RecencyEntries, 1.0);
  bandTimeCeilings.resize(DistanceBands);
  findBandTimeCeilings(timeFactor, bandTimeCeilings.data());
  bound.resize(GenreClasses * DistanceBands);
  // Eight spare entries: a vector kernel stores a whole register of lanes.
  selected.resize(testCase.viewers.size() + 8);
}
