// The robustness tests: hostile input files and repeated evaluations, each run
// through the built evaluator.
//
// Usage: skedomat_robustness_tests SKEDOMAT EXAMPLES_DIRECTORY SCRATCH_DIRECTORY

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "robustness_environment.h"

namespace fs = std::filesystem;

namespace {

RobustnessEnvironment environment;

}  // namespace

const RobustnessEnvironment& robustnessEnvironment() { return environment; }

std::string freshScratchFolder(const std::string& name) {
  fs::path folder = fs::path(environment.scratch) / name;
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder.string();
}

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s SKEDOMAT EXAMPLES_DIRECTORY SCRATCH_DIRECTORY\n",
                 argv[0]);
    return 2;
  }
  environment.skedomat = fs::absolute(argv[1]).string();
  environment.examples = fs::absolute(argv[2]).string();
  environment.scratch = fs::absolute(argv[3]).string();
  return RUN_ALL_TESTS();
}
