#include "batch/solver_command.h"

#include <cstring>
#include <vector>

#include "base/process.h"

namespace {

struct Mark {
  const char* text;
  std::string replacement;
};

// `pattern` with each mark replaced, in one pass from left to right, so
// that a replacement that holds a mark (a path with "{out}" in it) stays
// as it is.
std::string replaced(const std::string& pattern, const std::vector<Mark>& marks) {
  std::string result;
  for (size_t i = 0; i < pattern.size();) {
    const Mark* found = nullptr;
    for (const Mark& mark : marks)
      if (pattern.compare(i, std::strlen(mark.text), mark.text) == 0) found = &mark;
    if (found == nullptr) {
      result += pattern[i++];
      continue;
    }
    result += found->replacement;
    i += std::strlen(found->text);
  }
  return result;
}

}  // namespace

std::string seedOfCase(const std::string& caseName) {
  if (caseName.empty() || caseName.find_first_not_of("0123456789") != std::string::npos)
    return caseName;
  const size_t firstSignificant = caseName.find_first_not_of('0');
  return firstSignificant == std::string::npos ? "0" : caseName.substr(firstSignificant);
}

bool isSafeWord(const std::string& text, bool path) {
  if (text.empty() || text[0] == '-') return false;
  for (char c : text) {
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    const bool mark = c == '.' || c == '_' || c == '-';
    const bool separator = path && (c == '/' || c == '\\' || c == ':');
    if (!letter && !mark && !separator) return false;
  }
  return true;
}

SolverCommand solverCommand(const std::string& pattern, const std::string& inputPath,
                            const std::string& outputPath, const std::string& seed) {
  SolverCommand command;
  command.usesInput = pattern.find("{in}") != std::string::npos;
  command.usesStandardStreams = !command.usesInput && pattern.find("{out}") == std::string::npos;
  command.line = replaced(pattern, {{"{in}", platform::shellWord(inputPath)},
                                    {"{out}", platform::shellWord(outputPath)},
                                    {"{seed}", platform::shellWord(seed)}});
  return command;
}
