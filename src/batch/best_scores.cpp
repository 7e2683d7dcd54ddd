#include "batch/best_scores.h"

#include <cstdlib>

#include "batch/json_reader.h"
#include "batch/json_writer.h"

namespace {

double valueOf(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

std::string scoreText(const CaseResult& result) {
  return meanText(result.ticketSum(), static_cast<int64_t>(result.runs.size()));
}

}  // namespace

bool BestScores::read(const std::string& path, std::string& error) {
  std::string text;
  bool missing = false;
  if (!readWholeFile(path, text, missing, error)) return missing;
  JsonValue table;
  if (!parseJson(text, table) || table.kind != JsonValue::Kind::Object) {
    error = "datoteka ni tabela najboljsih ocen";
    return false;
  }
  for (const auto& entry : table.members) {
    if (entry.second.kind != JsonValue::Kind::Number) {
      error = "ocena primera \"" + entry.first + "\" ni stevilo";
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
        scores_[result.name] = scoreText(result);
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
