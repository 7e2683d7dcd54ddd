#ifndef SKEDOMAT_BASE_OUTPUT_PATH_H
#define SKEDOMAT_BASE_OUTPUT_PATH_H

#include <string>
#include <vector>

// Whether a path may receive an output of an evaluation. An output may only
// replace a regular file that can be written, or create one; it must never
// replace one of the evaluation's input files, however either path is spelt
// (trailing separators, "." and "..", symbolic and hard links, and on
// Windows letter case and short names), nor the file that standard output
// or standard error is writing to.

// Empty when `path` may receive the output; `targetPath` is then the path
// of the file to replace, symbolic links followed. Otherwise the one-line
// reason for refusing it. `what` names the output in the reason.
std::string refuseOutputPath(const std::string& path, const std::string& what,
                             const std::vector<std::string>& inputPaths,
                             std::string& targetPath);

// True when both paths are known to name one file.
bool sameFile(const std::string& a, const std::string& b);

#endif  // SKEDOMAT_BASE_OUTPUT_PATH_H
