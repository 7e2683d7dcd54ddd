#include "statistics/signed_rank_test.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

struct RankedDifference {
  double magnitude;
  bool positive;
};

std::vector<RankedDifference> nonzeroSortedByMagnitude(const std::vector<double>& differences) {
  std::vector<RankedDifference> ranked;
  for (double d : differences)
    if (d != 0) ranked.push_back({std::fabs(d), d > 0});
  std::sort(ranked.begin(), ranked.end(),
            [](const RankedDifference& a, const RankedDifference& b) {
              return a.magnitude < b.magnitude;
            });
  return ranked;
}

// Fills W+ and returns sum(t^3 - t) over the groups of ties.
double rankAndSumTies(const std::vector<RankedDifference>& ranked, double tieTolerance,
                      double& positiveRankSum) {
  double tieTerm = 0;
  positiveRankSum = 0;
  for (size_t first = 0; first < ranked.size();) {
    size_t end = first + 1;
    while (end < ranked.size() &&
           ranked[end].magnitude - ranked[first].magnitude <= tieTolerance)
      ++end;
    const double meanRank = (static_cast<double>(first + 1) + static_cast<double>(end)) / 2;
    for (size_t i = first; i < end; ++i)
      if (ranked[i].positive) positiveRankSum += meanRank;
    const double t = static_cast<double>(end - first);
    tieTerm += t * t * t - t;
    first = end;
  }
  return tieTerm;
}

// P(W+ <= w) and P(W+ >= w) under the null hypothesis for ranks 1..n,
// counting the sign patterns of each rank sum; n <= 25 keeps the counts
// below 2^25 and the sums below 326.
double exactTwoSided(size_t n, int64_t w) {
  const size_t maxSum = n * (n + 1) / 2;
  std::vector<uint64_t> ways(maxSum + 1, 0);
  ways[0] = 1;
  for (size_t rank = 1; rank <= n; ++rank)
    for (size_t sum = maxSum; sum >= rank; --sum) ways[sum] += ways[sum - rank];
  uint64_t atMost = 0;
  uint64_t atLeast = 0;
  for (size_t sum = 0; sum <= maxSum; ++sum) {
    if (static_cast<int64_t>(sum) <= w) atMost += ways[sum];
    if (static_cast<int64_t>(sum) >= w) atLeast += ways[sum];
  }
  const double tail =
      std::ldexp(static_cast<double>(std::min(atMost, atLeast)), -static_cast<int>(n));
  return std::min(1.0, 2 * tail);
}

double normalTwoSided(size_t n, double positiveRankSum, double tieTerm) {
  const double nn = static_cast<double>(n);
  const double mean = nn * (nn + 1) / 4;
  const double variance = nn * (nn + 1) * (2 * nn + 1) / 24 - tieTerm / 48;
  const double distance = std::max(0.0, std::fabs(positiveRankSum - mean) - 0.5);
  const double z = distance / std::sqrt(variance);
  return std::min(1.0, std::erfc(z / std::sqrt(2.0)));
}

}  // namespace

SignedRankResult signedRankTest(const std::vector<double>& differences, double tieTolerance) {
  SignedRankResult result;
  const std::vector<RankedDifference> ranked = nonzeroSortedByMagnitude(differences);
  result.nonzero = ranked.size();
  if (ranked.empty()) return result;
  const double tieTerm = rankAndSumTies(ranked, tieTolerance, result.positiveRankSum);
  result.exact = ranked.size() <= ExactSignedRankLimit && tieTerm == 0;
  result.pValue =
      result.exact
          ? exactTwoSided(ranked.size(), static_cast<int64_t>(result.positiveRankSum))
          : normalTwoSided(ranked.size(), result.positiveRankSum, tieTerm);
  return result;
}
