#include "batch/provenance.h"

#include <ctime>

#include "base/version.h"

namespace {

std::string utcNow() {
  const std::time_t now = std::time(nullptr);
  const std::tm* utc = std::gmtime(&now);
  char text[32] = "";
  if (utc != nullptr) std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", utc);
  return text;
}

}  // namespace

Provenance provenanceOf(const std::vector<std::string>& arguments, int64_t runs,
                        const std::string& solverCommand) {
  Provenance provenance;
  provenance.known = true;
  provenance.version = ProgramVersion;
  for (size_t i = 1; i < arguments.size(); ++i)
    provenance.commandLine += (i > 1 ? " " : "") + arguments[i];
  provenance.startTime = utcNow();
  provenance.solverCommand = solverCommand;
  provenance.runs = runs;
  return provenance;
}

std::string fileTimeOf(const std::string& startTime) {
  std::string text;
  for (char c : startTime) {
    if (c >= '0' && c <= '9') text += c;
    if (c == 'T') text += '-';
  }
  return text;
}
