#ifndef SKEDOMAT_DRIVER_INTERRUPT_CLEANUP_H
#define SKEDOMAT_DRIVER_INTERRUPT_CLEANUP_H

#include <string>

// What becomes of the process's half-written outputs when it is stopped from
// outside. An interrupt, a termination request or a closed terminal (Ctrl+C,
// Ctrl+Break or a closed console on Windows) removes every temporary file
// still registered, writes one line on standard error and ends the process
// with the status of an output not written, 2. A write beyond the file-size
// limit or into a closed pipe fails like any other write instead of ending
// the process, so that the same clean-up runs.

// Installs the handlers; call once, before any output is created.
void installInterruptCleanup();

// Registers `path` for removal on an interrupt. At most four paths are kept
// at once; false when there is no room.
bool removeOnInterrupt(const std::string& path);

// Takes `path` off the list: it has been renamed or removed.
void forgetOnInterrupt(const std::string& path);

#endif  // SKEDOMAT_DRIVER_INTERRUPT_CLEANUP_H
