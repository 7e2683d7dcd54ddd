// The program: sets up the process and dispatches on the command word.

#include <cstdio>
#include <string>
#include <vector>

#include "base/interrupt_cleanup.h"
#include "base/platform.h"
#include "batch/batch.h"
#include "batch/batch_options.h"
#include "driver/evaluation.h"
#include "explain/explain.h"
#include "generate/generate_command.h"

namespace {

const char Version[] = "Skedomat 1.1.0\n";

struct Command {
  const char* name;
  const char* summary;
  const char* (*usage)();
  int (*run)(const std::vector<std::string>& arguments);
};

const Command Commands[] = {
    {"eval", "oceni oddajo na testnem primeru; zadnja vrstica porocila je ocena",
     evalUsage, runEval},
    {"explain", "oceni kot eval in napise stran HTML o tem, od kod so karte",
     explainUsage, runExplain},
    {"generate", "napise testne primere iz semen", generateUsage, runGenerate},
    {"baseline", "napise preprost veljaven spored za testni primer", baselineUsage,
     runBaseline},
    {"batch", "oceni mapo oddaj na mapi testnih primerov, vzporedno", batchUsage,
     runBatch},
};

const Command* findCommand(const std::string& name) {
  for (const Command& command : Commands)
    if (name == command.name) return &command;
  return nullptr;
}

// Every command with its line of summary and its usage.
int printHelp() {
  std::fputs("Skedomat: ocenjevalnik sporeda filmskih predstav.\n\nUkazi:\n", stdout);
  for (const Command& command : Commands) {
    std::printf("\n  %-10s %s\n", command.name, command.summary);
    std::fputs(command.usage(), stdout);
  }
  std::fputs("\nSkedomat help UKAZ pokaze uporabo enega ukaza; "
             "Skedomat --version razlicico.\n",
             stdout);
  return ExitReportWritten;
}

int printCommandHelp(const std::string& name) {
  const Command* command = findCommand(name);
  if (command == nullptr) {
    printHelp();
    return ExitUsage;
  }
  std::printf("Skedomat %s: %s\n", command->name, command->summary);
  std::fputs(command->usage(), stdout);
  return ExitReportWritten;
}

// A command word that names no command prints eval's usage, as the
// evaluator always has.
int runCommand(const std::vector<std::string>& arguments) {
  if (arguments.size() < 2) return evalUsageError();
  const std::string& word = arguments[1];
  if (word == "--version") {
    std::fputs(Version, stdout);
    return ExitReportWritten;
  }
  if (word == "help" || word == "--help")
    return arguments.size() >= 3 ? printCommandHelp(arguments[2]) : printHelp();
  const Command* command = findCommand(word);
  if (command == nullptr) return evalUsageError();
  return command->run(arguments);
}

}  // namespace

int main(int argc, char** argv) {
  // Before any file is opened, so that none takes a closed standard
  // stream's place, and before any output is created.
  platform::ensureStandardStreams();
  installInterruptCleanup();
  return runCommand(platform::commandLineArguments(argc, argv));
}
