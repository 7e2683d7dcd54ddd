#ifndef SKEDOMAT_BASE_CPU_TIMER_H
#define SKEDOMAT_BASE_CPU_TIMER_H

#include <cstdint>

// Measures the user-mode CPU time of the whole process, in 100-nanosecond
// ticks, over the intervals between start and stop.
class CpuTimer {
 public:
  void start();
  void stop();
  // The total of the stopped intervals, plus the running one.
  int64_t elapsed() const;

 private:
  int64_t startTicks_ = 0;
  int64_t totalTicks_ = 0;
  bool running_ = false;
};

#endif  // SKEDOMAT_BASE_CPU_TIMER_H
