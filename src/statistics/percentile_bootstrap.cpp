#include "statistics/percentile_bootstrap.h"

#include <algorithm>

#include "statistics/splitmix64.h"

namespace {

// Ranks, counted from one, of the interval's ends among the sorted means.
const int LowRank = (BootstrapResamples + 1) / 40;
const int HighRank = (BootstrapResamples + 1) - LowRank;

double resampledMean(const std::vector<double>& sample, SplitMix64& random) {
  double sum = 0;
  for (size_t i = 0; i < sample.size(); ++i) sum += sample[random.below(sample.size())];
  return sum / static_cast<double>(sample.size());
}

}  // namespace

ConfidenceInterval bootstrapMeanInterval95(const std::vector<double>& sample, uint64_t seed) {
  ConfidenceInterval interval;
  if (sample.empty()) return interval;
  SplitMix64 random(seed);
  std::vector<double> means(BootstrapResamples);
  for (double& mean : means) mean = resampledMean(sample, random);
  std::sort(means.begin(), means.end());
  interval.low = means[LowRank - 1];
  interval.high = means[HighRank - 1];
  return interval;
}
