#include "batch/results_file.h"

#include <cstdlib>

#include "batch/json_reader.h"

namespace {

bool readRuns(const JsonValue* runs, std::vector<int64_t>& counts) {
  if (runs == nullptr || runs->kind != JsonValue::Kind::Array) return false;
  for (const JsonValue& run : runs->elements) {
    if (run.kind != JsonValue::Kind::Number) return false;
    counts.push_back(std::strtoll(run.text.c_str(), nullptr, 10));
  }
  return true;
}

int32_t sizeOf(const JsonValue* features, const char* key) {
  const JsonValue* size = features != nullptr ? features->member(key) : nullptr;
  if (size == nullptr || size->kind != JsonValue::Kind::Number) return -1;
  return static_cast<int32_t>(std::strtol(size->text.c_str(), nullptr, 10));
}

// The case of one line; false when the line is no case object.
bool readCase(const JsonValue& object, CaseResult& result) {
  const JsonValue* name = object.member("name");
  const JsonValue* status = object.member("status");
  if (name == nullptr || name->kind != JsonValue::Kind::String || status == nullptr ||
      !statusOfName(status->text, result.status) ||
      !readRuns(object.member("runs"), result.runs))
    return false;
  result.name = name->text;
  const JsonValue* page = object.member("page");
  if (page != nullptr && page->kind == JsonValue::Kind::String) result.pagePath = page->text;
  const JsonValue* message = object.member("message");
  if (message != nullptr && message->kind == JsonValue::Kind::String)
    result.message = message->text;
  const JsonValue* change = object.member("change");
  if (change != nullptr && change->kind == JsonValue::Kind::Number) {
    result.hasChange = true;
    result.change = std::strtod(change->text.c_str(), nullptr);
  }
  const JsonValue* features = object.member("features");
  result.features.nMovies = sizeOf(features, "films");
  result.features.nViewers = sizeOf(features, "viewers");
  result.features.nSeats = sizeOf(features, "seats");
  result.features.nScreenings = sizeOf(features, "screenings");
  const JsonValue* report = object.member("report");
  if (report != nullptr && report->kind == JsonValue::Kind::String)
    result.reportPath = report->text;
  const JsonValue* best = object.member("best");
  if (best != nullptr && best->kind == JsonValue::Kind::Number) {
    result.hasBest = true;
    result.best = std::strtod(best->text.c_str(), nullptr);
    result.relative = result.best > 0 ? result.score() / result.best : 0;
  }
  return true;
}

}  // namespace

bool readResultsFile(const std::string& path, ResultsFile& results, std::string& error) {
  std::string text;
  bool missing = false;
  if (!readWholeFile(path, text, missing, error)) return false;
  size_t begin = 0;
  for (int lineNo = 1; begin < text.size(); ++lineNo) {
    size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(begin, end - begin);
    begin = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    JsonValue object;
    CaseResult result;
    if (parseJson(line, object) && object.member("summary") != nullptr) continue;
    if (object.kind != JsonValue::Kind::Object || !readCase(object, result)) {
      error = "vrstica " + std::to_string(lineNo) + " ni rezultat primera";
      return false;
    }
    results.cases.push_back(result);
    results.lines.push_back(line);
  }
  return true;
}
