#include "base/interrupt_cleanup.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstring>

namespace {

const int MaxPaths = 4;

// A registered path, readable by the signal handler at any moment: `inUse`
// is set only after the path is whole and cleared before it changes.
struct Slot {
  char path[PATH_MAX + 1];
  volatile sig_atomic_t inUse;
};

Slot slots[MaxPaths];

const int MaxGroups = 64;

// Registered process groups; 0 marks a free place.
volatile sig_atomic_t groups[MaxGroups];

const char InterruptedMessage[] =
    "Skedomat: ocenjevanje je prekinjeno; izhodne datoteke niso bile "
    "zapisane.\n";

const int CleanedSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile sig_atomic_t deferred = 0;
volatile sig_atomic_t requested = 0;

extern "C" void removeTemporariesAndExit(int signalNo) {
  for (volatile sig_atomic_t& group : groups)
    if (group != 0) kill(-static_cast<pid_t>(group), SIGKILL);
  if (deferred) {
    requested = 1;
    return;
  }
  bool removed = false;
  for (Slot& slot : slots) {
    if (!slot.inUse) continue;
    unlink(slot.path);
    removed = true;
  }
  if (!removed) {
    signal(signalNo, SIG_DFL);
    raise(signalNo);
    return;
  }
  ssize_t ignored = write(STDERR_FILENO, InterruptedMessage,
                          sizeof InterruptedMessage - 1);
  (void)ignored;
  _exit(2);
}

sigset_t cleanedSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int signalNo : CleanedSignals) sigaddset(&set, signalNo);
  return set;
}

void handle(int signalNo, void (*handler)(int)) {
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = handler;
  sigfillset(&action.sa_mask);
  sigaction(signalNo, &action, nullptr);
}

}  // namespace

void installInterruptCleanup() {
  for (int signalNo : CleanedSignals) handle(signalNo, removeTemporariesAndExit);
  for (int signalNo : {SIGPIPE, SIGXFSZ}) handle(signalNo, SIG_IGN);
}

bool removeOnInterrupt(const std::string& path) {
  if (path.size() > PATH_MAX) return false;
  for (Slot& slot : slots) {
    if (slot.inUse) continue;
    std::memcpy(slot.path, path.c_str(), path.size() + 1);
    // The handler must not see the flag before the path.
    std::atomic_signal_fence(std::memory_order_seq_cst);
    slot.inUse = 1;
    return true;
  }
  return false;
}

void forgetOnInterrupt(const std::string& path) {
  for (Slot& slot : slots)
    if (slot.inUse && path == slot.path) slot.inUse = 0;
}

InterruptsHeld::InterruptsHeld() {
  sigset_t set = cleanedSignalSet();
  sigprocmask(SIG_BLOCK, &set, nullptr);
}

InterruptsHeld::~InterruptsHeld() {
  sigset_t set = cleanedSignalSet();
  sigprocmask(SIG_UNBLOCK, &set, nullptr);
}

bool killGroupOnInterrupt(uintptr_t group) {
  for (volatile sig_atomic_t& place : groups) {
    if (place != 0) continue;
    place = static_cast<sig_atomic_t>(group);
    return true;
  }
  return false;
}

void forgetGroupOnInterrupt(uintptr_t group) {
  for (volatile sig_atomic_t& place : groups)
    if (place == static_cast<sig_atomic_t>(group)) place = 0;
}

InterruptsDeferred::InterruptsDeferred() { deferred = 1; }

InterruptsDeferred::~InterruptsDeferred() { deferred = 0; }

bool interruptRequested() { return requested != 0; }
