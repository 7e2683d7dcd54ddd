#include "batch/best_scores.h"

#include <cmath>
#include <cstdlib>

#include "base/json.h"
#include "base/whole_file.h"

namespace {

// A best file holds one short entry per case.
const size_t MaxBestFileBytes = size_t(1) << 28;

// The least score above zero a batch can write: one ticket over the most
// runs there can be.
const double LeastPositiveScore = 1.0 / 2147483647.0;

double valueOf(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

bool isScore(const JsonValue& value) {
  if (value.kind != JsonValue::Kind::Number) return false;
  const double score = valueOf(value.text);
  return score == 0 || (score >= LeastPositiveScore && std::isfinite(score));
}

}  // namespace

bool BestScores::read(const std::string& path, std::string& error) {
  std::string text;
  const WholeFileRead read = readWholeFile(path, MaxBestFileBytes, text, error);
  if (read == WholeFileRead::Missing) return true;
  if (read == WholeFileRead::Failed) return false;
  JsonValue table;
  if (!parseJson(text, table) || table.kind != JsonValue::Kind::Object) {
    error = "datoteka ni tabela najboljsih ocen (en objekt JSON)";
    return false;
  }
  for (const auto& entry : table.members) {
    if (!isScore(entry.second)) {
      error = "ocena primera \"" + entry.first + "\" ni mogoca ocena";
      return false;
    }
    scores_[entry.first] = entry.second.text;
  }
  return true;
}

void BestScores::apply(std::vector<CaseResult>& results, bool frozen) {
  for (CaseResult& result : results) {
    if (!frozen && result.scored()) {
      auto known = scores_.find(result.name);
      if (known == scores_.end() || valueOf(known->second) < result.score())
        scores_[result.name] = meanText(result.runs);
    }
    auto known = scores_.find(result.name);
    if (known == scores_.end()) continue;
    result.hasBest = true;
    result.best = valueOf(known->second);
    result.relative = result.best > 0 ? result.score() / result.best : 0;
  }
}

std::string BestScores::fileText() const {
  JsonObject table;
  for (const auto& entry : scores_) table.number(entry.first, entry.second);
  return table.text() + "\n";
}
