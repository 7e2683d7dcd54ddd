#ifndef SKEDOMAT_TESTS_E2E_MEASURED_RUN_H
#define SKEDOMAT_TESTS_E2E_MEASURED_RUN_H

#include <cstdint>
#include <string>
#include <vector>

// What one run of a program used. The peak counts the child's resident
// memory from its start, which after fork includes what the caller held: the
// caller keeps large data out of memory while the child runs.
struct MeasuredRun {
  int status = -1;         // exit status; -1 when it did not exit normally
  int64_t peakBytes = 0;   // peak resident memory
  double cpuSeconds = 0;   // user plus system CPU time
};

// Runs `program` like runProgram (spawn.h) and measures it. POSIX only.
MeasuredRun runMeasured(const std::string& program,
                        const std::vector<std::string>& arguments,
                        const std::string& directory, const std::string& stdoutPath,
                        const std::string& stderrPath);

#endif  // SKEDOMAT_TESTS_E2E_MEASURED_RUN_H
