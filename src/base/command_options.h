#ifndef SKEDOMAT_BASE_COMMAND_OPTIONS_H
#define SKEDOMAT_BASE_COMMAND_OPTIONS_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The words of a command line after the command word: options, which start
// with "--" and may take the next word as their value, and positional words,
// everything else. What goes wrong is told as a reason for usageError, in
// the words the user typed.

struct CommandOption {
  const char* name;
  bool hasValue;
  // Takes the value (empty for an option without one); returns what is
  // allowed when the value is bad, empty when it is good.
  std::function<std::string(const std::string& value)> take;
};

// Hands each option of `words` to its CommandOption and appends the other
// words to `positional`, in order; the reason when the words are no valid
// command line (an unknown or repeated option, a missing or bad value),
// empty otherwise.
std::string takeCommandOptions(const std::vector<std::string>& words,
                               const std::vector<CommandOption>& options,
                               std::vector<std::string>& positional);

// A CommandOption::take for a value that names a file or folder: anything
// but the empty word, stored in `target`.
std::function<std::string(const std::string&)> takePath(std::string& target);

// A decimal number of digits alone (at most 19), nothing before or after
// them; false for anything else.
bool parseUnsigned(const std::string& text, uint64_t& value);

// `word` in double quotes, safe to print on a terminal.
std::string quotedWord(const std::string& word);

// The reason for a word the command line has no place for.
std::string extraWordReason(const std::string& word);

#endif  // SKEDOMAT_BASE_COMMAND_OPTIONS_H
