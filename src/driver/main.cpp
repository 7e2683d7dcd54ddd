#include "driver/evaluation.h"
#include "driver/platform.h"

int main(int argc, char** argv) {
  return runCommand(platform::commandLineArguments(argc, argv));
}
