#include "spawn.h"

#include "measured_run.h"

int runProgram(const std::string& program, const std::vector<std::string>& arguments,
               const std::string& directory, const std::string& stdoutPath,
               const std::string& stderrPath) {
  return runMeasured(program, arguments, directory, stdoutPath, stderrPath).status;
}
