#ifndef SKEDOMAT_STATISTICS_PERCENTILE_BOOTSTRAP_H
#define SKEDOMAT_STATISTICS_PERCENTILE_BOOTSTRAP_H

#include <cstdint>
#include <vector>

// The percentile bootstrap of a sample's mean: the sample is resampled with
// replacement BootstrapResamples times, and the 95 % interval runs from the
// 2.5th to the 97.5th percentile of the resampled means. With 3999
// resamples those are exactly the 100th and the 3900th smallest, the
// (B + 1) alpha rule, so no interpolation is needed.
//
// The indices come from SplitMix64 by exact integer rejection, so a seed
// gives the same resamples everywhere; the means are plain sums in index
// order, so the interval is the same to the bit on every IEEE platform.

const int BootstrapResamples = 3999;

struct ConfidenceInterval {
  double low = 0;
  double high = 0;
};

// {0, 0} for an empty sample; {x, x} for a sample of one value x.
ConfidenceInterval bootstrapMeanInterval95(const std::vector<double>& sample, uint64_t seed);

#endif  // SKEDOMAT_STATISTICS_PERCENTILE_BOOTSTRAP_H
