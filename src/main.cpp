// The program: sets up the process and dispatches on the command word.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/interrupt_cleanup.h"
#include "base/platform.h"
#include "base/version.h"
#include "base/usage_error.h"
#include "batch/batch.h"
#include "batch/batch_options.h"
#include "driver/evaluation.h"
#include "explain/explain.h"
#include "generate/generate_command.h"

namespace {


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

std::vector<std::string> commandNames() {
  std::vector<std::string> names;
  for (const Command& command : Commands) names.push_back(command.name);
  return names;
}

// Every command with its line of summary and its usage.
std::string helpText() {
  std::string text = "Skedomat: ocenjevalnik sporeda filmskih predstav.\n\nUkazi:\n";
  for (const Command& command : Commands) {
    std::string name = command.name;
    name.resize(std::max<size_t>(name.size(), 10), ' ');
    text += "\n  " + name + " " + command.summary + "\n" + command.usage();
  }
  return text + "\nSkedomat help UKAZ pokaze uporabo enega ukaza; "
                "Skedomat --version razlicico.\n";
}

int printHelp() {
  std::fputs(helpText().c_str(), stdout);
  return ExitReportWritten;
}

int printCommandHelp(const std::string& name) {
  const Command* command = findCommand(name);
  if (command == nullptr)
    return usageError(unknownWordReason("neznan ukaz", name, commandNames()),
                      helpText().c_str());
  std::printf("Skedomat %s: %s\n", command->name, command->summary);
  std::fputs(command->usage(), stdout);
  return ExitReportWritten;
}

// A command word that names no command prints eval's usage, as the
// evaluator always has.
int runCommand(const std::vector<std::string>& arguments) {
  if (arguments.size() < 2) return usageError("manjka ukaz", evalUsage());
  const std::string& word = arguments[1];
  if (word == "--version") {
    std::printf("Skedomat %s\n", ProgramVersion);
    return ExitReportWritten;
  }
  if (word == "help" || word == "--help")
    return arguments.size() >= 3 ? printCommandHelp(arguments[2]) : printHelp();
  const Command* command = findCommand(word);
  if (command == nullptr) {
    std::vector<std::string> words = commandNames();
    words.insert(words.end(), {"help", "--help", "--version"});
    return usageError(unknownWordReason("neznan ukaz", word, words), evalUsage());
  }
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
