#ifndef SKEDOMAT_BATCH_PROVENANCE_H
#define SKEDOMAT_BATCH_PROVENANCE_H

#include <cstdint>
#include <string>
#include <vector>

// Where a results file came from, so that two of them can be told apart
// and compared honestly: the program's version, the command line, the run
// count, when the batch started (UTC) and the solver's command.
struct Provenance {
  bool known = false;  // false: a results file that does not say
  std::string version;
  std::string commandLine;
  std::string startTime;      // "2026-12-09T22:57:12Z"
  std::string solverCommand;  // empty: the submissions were there already
  int64_t runs = 0;
};

// This batch's provenance: `arguments` as the program got them.
Provenance provenanceOf(const std::vector<std::string>& arguments, int64_t runs,
                        const std::string& solverCommand);

// The start time's text as it stands in a file name ("20261209-225712").
std::string fileTimeOf(const std::string& startTime);

#endif  // SKEDOMAT_BATCH_PROVENANCE_H
