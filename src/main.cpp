// The program: sets up the process and dispatches on the command word.

#include <string>
#include <vector>

#include "base/interrupt_cleanup.h"
#include "base/platform.h"
#include "batch/batch.h"
#include "driver/evaluation.h"
#include "explain/explain.h"

namespace {

int runCommand(const std::vector<std::string>& arguments) {
  if (arguments.size() >= 2 && arguments[1] == "eval") return runEval(arguments);
  if (arguments.size() >= 2 && arguments[1] == "explain")
    return runExplain(arguments);
  if (arguments.size() >= 2 && arguments[1] == "batch") return runBatch(arguments);
  return evalUsageError();
}

}  // namespace

int main(int argc, char** argv) {
  // Before any file is opened, so that none takes a closed standard
  // stream's place, and before any output is created.
  platform::ensureStandardStreams();
  installInterruptCleanup();
  return runCommand(platform::commandLineArguments(argc, argv));
}
