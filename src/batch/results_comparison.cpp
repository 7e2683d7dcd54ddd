#include "batch/results_comparison.h"

#include <cstdio>
#include <map>

namespace {

void warn(const std::string& text) {
  std::fprintf(stderr, "Skedomat: opozorilo: %s\n", text.c_str());
}

}  // namespace

void compareWith(const ResultsFile& earlier, std::vector<CaseResult>& results) {
  std::map<std::string, const CaseResult*> byName;
  for (const CaseResult& old : earlier.cases) byName[old.name] = &old;
  size_t missing = 0, otherRuns = 0, matched = 0;
  for (CaseResult& result : results) {
    const auto found = byName.find(result.name);
    if (found == byName.end()) {
      ++missing;
      continue;
    }
    ++matched;
    const CaseResult& old = *found->second;
    result.earlier.present = true;
    result.earlier.status = old.status;
    result.earlier.runs = old.runs;
    if (result.scored() && old.scored() && result.runs.size() != old.runs.size()) ++otherRuns;
  }
  if (missing > 0)
    warn(std::to_string(missing) + " primerov ni v prejsnjih rezultatih; primerjani niso.");
  if (earlier.cases.size() > matched)
    warn(std::to_string(earlier.cases.size() - matched) +
         " primerov prejsnjih rezultatov tu ni; primerjani niso.");
  if (otherRuns > 0)
    warn(std::to_string(otherRuns) +
         " primerov je bilo prej ocenjenih z drugim stevilom simulacij.");
}
