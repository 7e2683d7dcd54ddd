#ifndef SKEDOMAT_BASE_INTERRUPT_CLEANUP_H
#define SKEDOMAT_BASE_INTERRUPT_CLEANUP_H

#include <cstdint>
#include <string>

// What becomes of the process's half-written outputs when it is stopped from
// outside. An interrupt, a termination request or a closed terminal (Ctrl+C,
// Ctrl+Break or a closed console on Windows) while temporary files are
// registered removes them all, writes one line on standard error and ends
// the process with the status of an output not written, 2. With none
// registered (before the outputs are created, or after they are in place)
// the signal has its usual effect. A write beyond the file-size limit or
// into a closed pipe fails like any other write instead of ending the
// process, so that the same clean-up runs.

// Installs the handlers; call once, before any output is created.
void installInterruptCleanup();

// Registers `path` for removal on an interrupt. At most four paths are kept
// at once; false when there is no room.
bool removeOnInterrupt(const std::string& path);

// Takes `path` off the list: it has been renamed or removed.
void forgetOnInterrupt(const std::string& path);

// Registers a child's process group (POSIX) to be killed on an interrupt
// before anything else happens, since a group of its own does not get the
// terminal's signals; on Windows a job kills what is in it when the process
// that holds it ends, so there is nothing to register. At most 64 groups
// are kept at once; false when there is no room.
bool killGroupOnInterrupt(uintptr_t group);

// Takes `group` off the list: it has been killed.
void forgetGroupOnInterrupt(uintptr_t group);

// While it lives, an interrupt does not end the process: it kills the
// registered groups and is remembered, so that a command that runs for long
// can stop cleanly at its next step (a batch kills its children, keeps what
// it has finished and exits with 2). Once it is gone, an interrupt that
// came meanwhile stays remembered; a new one acts as usual.
class InterruptsDeferred {
 public:
  InterruptsDeferred();
  ~InterruptsDeferred();
  InterruptsDeferred(const InterruptsDeferred&) = delete;
  InterruptsDeferred& operator=(const InterruptsDeferred&) = delete;
};

// True once an interrupt came while interrupts were deferred.
bool interruptRequested();

// Holds interrupts back while it lives, so that a step and the change of
// the list that goes with it (a rename and forgetting its temporary file)
// happen together; an interrupt that came meanwhile takes effect after.
class InterruptsHeld {
 public:
  InterruptsHeld();
  ~InterruptsHeld();
  InterruptsHeld(const InterruptsHeld&) = delete;
  InterruptsHeld& operator=(const InterruptsHeld&) = delete;
};

#endif  // SKEDOMAT_BASE_INTERRUPT_CLEANUP_H
