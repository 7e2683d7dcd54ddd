#include "base/cpu_timer.h"

#include <cstdint>

#include <gtest/gtest.h>

namespace {

// Burns CPU time until the timer shows some.
void spinUntilTicking(const CpuTimer& timer) {
  volatile double sink = 0;
  for (int64_t i = 0; timer.elapsed() == 0 && i < 4000000000; i++) sink = sink + 1;
}

TEST(CpuTimer, MeasuresOnlyWhileRunning) {
  CpuTimer timer;
  EXPECT_EQ(0, timer.elapsed());
  timer.start();
  spinUntilTicking(timer);
  timer.stop();
  int64_t stopped = timer.elapsed();
  EXPECT_GT(stopped, 0);
  volatile double sink = 0;
  for (int i = 0; i < 10000000; i++) sink = sink + 1;
  EXPECT_EQ(stopped, timer.elapsed());
  // A second interval adds to the first.
  timer.start();
  EXPECT_GE(timer.elapsed(), stopped);
  timer.stop();
  EXPECT_GE(timer.elapsed(), stopped);
}

}  // namespace
