#ifndef SKEDOMAT_DRIVER_RUN_STATISTICS_H
#define SKEDOMAT_DRIVER_RUN_STATISTICS_H

#include <cstdint>
#include <vector>

// The tickets sold by each simulation run and the statistics over them, as
// the success report shows them.
class RunStatistics {
 public:
  // Folds in the count of the next run.
  void add(int32_t nTickets);

  const std::vector<int32_t>& ticketsPerRun() const { return ticketsPerRun_; }
  int32_t worst() const { return worst_; }
  int32_t best() const { return best_; }
  double mean() const;
  // Population standard deviation; 0 when the variance is below 1e-6.
  double deviation() const;
  double median() const;

 private:
  std::vector<int32_t> ticketsPerRun_;  // in run order
  double sum_ = 0;
  double sumSquares_ = 0;
  int32_t worst_ = 0;
  int32_t best_ = 0;
};

#endif  // SKEDOMAT_DRIVER_RUN_STATISTICS_H
