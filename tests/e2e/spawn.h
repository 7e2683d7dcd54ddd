#ifndef SKEDOMAT_TESTS_E2E_SPAWN_H
#define SKEDOMAT_TESTS_E2E_SPAWN_H

#include <string>
#include <vector>

// Runs `program` with `arguments` in `directory`, sending its standard output
// and standard error to the two files; returns its exit status, or -1 when it
// could not be started or did not exit normally.
int runProgram(const std::string& program, const std::vector<std::string>& arguments,
               const std::string& directory, const std::string& stdoutPath,
               const std::string& stderrPath);

#endif  // SKEDOMAT_TESTS_E2E_SPAWN_H
