#ifndef SKEDOMAT_BASE_USAGE_ERROR_H
#define SKEDOMAT_BASE_USAGE_ERROR_H

#include <string>
#include <vector>

// A wrong command line is answered the same way by every command: one line
// on standard error that says which word was wrong and why, then the
// command's usage text on standard output, and the exit status ExitUsage.

// Prints "Skedomat: REASON" on standard error and `usage` on standard
// output; returns ExitUsage.
int usageError(const std::string& reason, const char* usage);

// The reason for an unknown word among `known` ones ("neznana moznost",
// "neznan ukaz"): the word quoted, with the nearest known word when one is
// near enough to be a slip of the keyboard, e.g.
// neznana moznost "--cvs" (morda "--csv"?)
std::string unknownWordReason(const std::string& what, const std::string& word,
                              const std::vector<std::string>& known);

// The word of `known` nearest to `word` by edit distance, when at most a
// third of its letters (and at least one) would have to change; empty
// otherwise.
std::string nearestWord(const std::string& word, const std::vector<std::string>& known);

#endif  // SKEDOMAT_BASE_USAGE_ERROR_H
