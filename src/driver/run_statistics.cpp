#include "driver/run_statistics.h"

#include <algorithm>
#include <cmath>

#include "base/assertion.h"

namespace {

// Below this the variance is taken as zero; it also absorbs the small
// negative results that the subtraction of the two sums can give.
const double MinVariance = 1e-6;

}  // namespace

void RunStatistics::add(int32_t nTickets) {
  bool first = ticketsPerRun_.empty();
  ticketsPerRun_.push_back(nTickets);
  if (first || nTickets < worst_) worst_ = nTickets;
  if (first || nTickets > best_) best_ = nTickets;
  double x = nTickets;
  sum_ += x;
  sumSquares_ += x * x;
}

double RunStatistics::mean() const {
  Assert(!ticketsPerRun_.empty());
  return sum_ / static_cast<double>(ticketsPerRun_.size());
}

double RunStatistics::deviation() const {
  double average = mean();
  double variance =
      sumSquares_ / static_cast<double>(ticketsPerRun_.size()) -
      average * average;
  if (variance < MinVariance) return 0;
  return std::sqrt(variance);
}

double RunStatistics::median() const {
  Assert(!ticketsPerRun_.empty());
  std::vector<int32_t> sorted = ticketsPerRun_;
  std::sort(sorted.begin(), sorted.end());
  size_t middle = sorted.size() / 2;
  if (sorted.size() % 2 == 1) return sorted[middle];
  return (static_cast<double>(sorted[middle - 1]) +
          static_cast<double>(sorted[middle])) *
         0.5;
}
