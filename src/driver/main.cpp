#include "driver/evaluation.h"
#include "driver/interrupt_cleanup.h"
#include "driver/platform.h"

int main(int argc, char** argv) {
  // Before any file is opened, so that none takes a closed standard
  // stream's place, and before any output is created.
  platform::ensureStandardStreams();
  installInterruptCleanup();
  return runCommand(platform::commandLineArguments(argc, argv));
}
