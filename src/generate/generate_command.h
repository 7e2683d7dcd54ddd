#ifndef SKEDOMAT_GENERATE_GENERATE_COMMAND_H
#define SKEDOMAT_GENERATE_GENERATE_COMMAND_H

#include <string>
#include <vector>

// The commands that make files to evaluate: `generate` writes test cases
// from seeds, `baseline` a first valid schedule for a test case. Both write
// their files whole or not at all, with LF line ends on every platform;
// `arguments` start with the program and the command word.

// `generate SEED input.txt [--films N] [--viewers N] [--seats N] [--case N]`
// or `generate --seeds FROM-TO --dir DIR [the same options]`, which writes
// DIR/0000.txt, DIR/0001.txt, ... (four digits at least). At most 100000
// films and 10000000 viewers.
int runGenerate(const std::vector<std::string>& arguments);

// `baseline input.txt submission.txt`.
int runBaseline(const std::vector<std::string>& arguments);

// The usage texts, as a usage error prints them.
const char* generateUsage();
const char* baselineUsage();

#endif  // SKEDOMAT_GENERATE_GENERATE_COMMAND_H
