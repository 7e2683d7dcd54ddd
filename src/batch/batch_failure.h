#ifndef SKEDOMAT_BATCH_BATCH_FAILURE_H
#define SKEDOMAT_BATCH_BATCH_FAILURE_H

#include <functional>
#include <stdexcept>
#include <string>

// The one way a batch stops before its end: a step throws a BatchFailure
// with the one line that says why, and each mode's entry point turns it
// into that line on standard error and the exit status ExitNoReport. So do
// exhausted memory and any other exception; nothing leaves the program
// uncaught.
class BatchFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws a BatchFailure; an empty message stands for one already printed.
[[noreturn]] void failBatch(const std::string& message);

// Runs `mode` and returns its exit status, or ExitNoReport after one line
// on standard error when it failed.
int runGuarded(const std::function<int()>& mode);

#endif  // SKEDOMAT_BATCH_BATCH_FAILURE_H
