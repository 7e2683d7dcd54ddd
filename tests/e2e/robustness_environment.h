#ifndef SKEDOMAT_TESTS_E2E_ROBUSTNESS_ENVIRONMENT_H
#define SKEDOMAT_TESTS_E2E_ROBUSTNESS_ENVIRONMENT_H

#include <string>

// The paths that the robustness tests get on their command line.
struct RobustnessEnvironment {
  std::string skedomat;  // the evaluator, as an absolute path
  std::string examples;  // the folder with the bundled example files
  std::string scratch;   // a folder the tests may fill
};

const RobustnessEnvironment& robustnessEnvironment();

// An empty folder `name` in the scratch space, made anew.
std::string freshScratchFolder(const std::string& name);

#endif  // SKEDOMAT_TESTS_E2E_ROBUSTNESS_ENVIRONMENT_H
