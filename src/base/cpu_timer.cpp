#include "base/cpu_timer.h"

#include "base/platform.h"

void CpuTimer::start() {
  startTicks_ = platform::userCpuTicks();
  running_ = true;
}

void CpuTimer::stop() {
  if (!running_) return;
  totalTicks_ += platform::userCpuTicks() - startTicks_;
  running_ = false;
}

int64_t CpuTimer::elapsed() const {
  if (!running_) return totalTicks_;
  return totalTicks_ + platform::userCpuTicks() - startTicks_;
}
