#ifndef SKEDOMAT_BATCH_CHILD_POOL_H
#define SKEDOMAT_BATCH_CHILD_POOL_H

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "base/process.h"

// Runs command lines as child processes of one program, a given number at
// a time, each with its standard output and error on the null device. A
// child that cannot be started, or that cannot be waited for, ends as
// crashed with status -1: it costs its own command, never the others.
using ChildEnded = std::function<void(size_t index, const platform::ChildEnd& end)>;

// Runs `program` with each of `commands` (arguments after the program), at
// most `jobs` at once, in order; `ended` is called as each one ends, in the
// order they end.
void runChildren(const std::string& program,
                 const std::vector<std::vector<std::string>>& commands, int jobs,
                 const ChildEnded& ended);

#endif  // SKEDOMAT_BATCH_CHILD_POOL_H
