#include "batch/results_format.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <set>

#include "base/json.h"
#include "base/whole_file.h"

namespace {

// The keys of the file, for its writer and its reader alike.
namespace key {
const char Name[] = "name";
const char Status[] = "status";
const char Runs[] = "runs";
const char Score[] = "score";
const char Best[] = "best";
const char Relative[] = "relative";
const char Earlier[] = "earlier";
const char Change[] = "change";
const char RelativeChange[] = "relative_change";
const char Features[] = "features";
const char Films[] = "films";
const char Viewers[] = "viewers";
const char Seats[] = "seats";
const char Screenings[] = "screenings";
const char Page[] = "page";
const char Message[] = "message";
const char Report[] = "report";
const char Solver[] = "solver";
const char Seconds[] = "seconds";
const char StderrTail[] = "stderr_tail";
const char Signal[] = "signal";

const char Summary[] = "summary";
const char Interrupted[] = "interrupted";
const char Provenance[] = "provenance";
const char Version[] = "version";
const char CommandLine[] = "command_line";
const char StartTime[] = "start_time";
const char SolverCommand[] = "solver_command";
const char Cases[] = "cases";
const char Scored[] = "scored";
const char Failed[] = "failed";
const char Statuses[] = "statuses";
const char ScoreSum[] = "score_sum";
const char ScoreMean[] = "score_mean";
const char LogScoreMean[] = "log_score_mean";
const char ZeroScores[] = "zero_scores";
const char RelativeMean[] = "relative_mean";
const char Comparison[] = "comparison";
const char Better[] = "better";
const char Worse[] = "worse";
const char Equal[] = "equal";
const char NewlyFailing[] = "newly_failing";
const char NewlyFixed[] = "newly_fixed";
const char OnlyNew[] = "only_new";
const char OtherRunCount[] = "other_run_count";
const char ChangeMean[] = "change_mean";
const char SignTestP[] = "sign_test_p";
const char WilcoxonP[] = "wilcoxon_p";
const char GeometricMeanRatio[] = "geometric_mean_ratio";
const char GeometricMeanRatioCi95[] = "geometric_mean_ratio_ci95";
const char MeanRelativeChange[] = "mean_relative_change";
const char MeanRelativeChangeCi95[] = "mean_relative_change_ci95";
const char BeyondTwoStandardErrors[] = "beyond_two_standard_errors";
const char Verdict[] = "verdict";
const char SolverFailures[] = "solver_failures";
const char SlowestSolver[] = "slowest_solver";
}  // namespace key

const int64_t MaxCount = INT32_MAX;
const double MaxSeconds = 1e9;

std::string secondsText(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", seconds);
  return text;
}

// The verdict of a comparison as the file names it, in the order of Verdict.
const char* const VerdictNames[] = {"better", "worse", "not_distinguishable"};

const char* verdictName(Verdict verdict) { return VerdictNames[static_cast<int>(verdict)]; }

// The writer.

JsonObject featuresObject(const CaseFeatures& features) {
  JsonObject object;
  const std::pair<const char*, int32_t> sizes[] = {{key::Films, features.nMovies},
                                                   {key::Viewers, features.nViewers},
                                                   {key::Seats, features.nSeats},
                                                   {key::Screenings, features.nScreenings}};
  for (const auto& size : sizes)
    if (size.second < 0)
      object.null(size.first);
    else
      object.integer(size.first, size.second);
  return object;
}

JsonObject solverObject(const SolverRun& solver) {
  JsonObject object;
  if (solver.exited)
    object.integer(key::Status, solver.status);
  else
    object.null(key::Status);
  object.number(key::Seconds, secondsText(solver.seconds))
      .string(key::StderrTail, solver.stderrTail);
  if (solver.exited)
    object.null(key::Signal);
  else
    object.integer(key::Signal, solver.status);
  return object;
}

JsonObject earlierObject(const EarlierResult& earlier) {
  JsonObject object;
  object.string(key::Status, statusName(earlier.status)).integers(key::Runs, earlier.runs);
  return object;
}

void addScores(const CaseResult& result, JsonObject& object) {
  object.integers(key::Runs, result.runs);
  if (result.scored())
    object.number(key::Score, meanText(result.runs));
  else
    object.null(key::Score);
  if (result.hasBest) object.real(key::Best, result.best).real(key::Relative, result.relative);
  if (result.earlier.present) object.object(key::Earlier, earlierObject(result.earlier));
  if (result.hasChange())
    object.real(key::Change, result.change().value())
        .real(key::RelativeChange, result.relativeChange());
}

JsonObject countsByStatus(const BatchTotals& totals) {
  JsonObject object;
  for (const CaseStatusTraits& traits : caseStatuses())
    object.integer(traits.name, static_cast<int64_t>(totals.count(traits.status)));
  return object;
}

JsonObject comparisonObject(const BatchTotals& totals) {
  JsonObject object;
  object.integer(key::Better, static_cast<int64_t>(totals.better))
      .integer(key::Worse, static_cast<int64_t>(totals.worse))
      .integer(key::Equal, static_cast<int64_t>(totals.equal))
      .integer(key::NewlyFailing, static_cast<int64_t>(totals.newlyFailing))
      .integer(key::NewlyFixed, static_cast<int64_t>(totals.newlyFixed))
      .integer(key::OnlyNew, static_cast<int64_t>(totals.onlyNew))
      .integer(key::OtherRunCount, static_cast<int64_t>(totals.otherRunCount))
      .real(key::ChangeMean, totals.changeMean);
  const PairedStatistics& paired = totals.paired;
  object.real(key::SignTestP, paired.signTestP)
      .real(key::WilcoxonP, paired.wilcoxonP)
      .real(key::GeometricMeanRatio, paired.geometricMeanRatio)
      .reals(key::GeometricMeanRatioCi95,
             {paired.geometricMeanRatioCi95.low, paired.geometricMeanRatioCi95.high})
      .real(key::MeanRelativeChange, paired.meanRelativeChange)
      .reals(key::MeanRelativeChangeCi95,
             {paired.meanRelativeChangeCi95.low, paired.meanRelativeChangeCi95.high})
      .integer(key::BeyondTwoStandardErrors, static_cast<int64_t>(paired.beyondTwoStandardErrors))
      .string(key::Verdict, verdictName(paired.verdict));
  return object;
}

JsonObject provenanceObject(const Provenance& provenance) {
  JsonObject object;
  object.string(key::Version, provenance.version)
      .string(key::CommandLine, provenance.commandLine)
      .string(key::StartTime, provenance.startTime)
      .integer(key::Runs, provenance.runs)
      .string(key::SolverCommand, provenance.solverCommand);
  return object;
}

// The reader.

// The members of one object taken one by one; whatever is left untaken at
// the end is a key the writer never writes. The first problem is kept.
class ObjectReader {
 public:
  ObjectReader(const JsonValue* value, std::string what) : what_(std::move(what)) {
    if (value == nullptr || value->kind != JsonValue::Kind::Object) {
      fail("ni objekt");
      return;
    }
    object_ = value;
    for (const auto& member : value->members) untaken_.insert(member.first);
  }

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  // The first problem of this reader or of one below it.
  bool adopt(const ObjectReader& inner) {
    if (!inner.ok() && ok()) error_ = inner.error();
    return inner.ok();
  }

  bool has(const char* name) const {
    return object_ != nullptr && object_->member(name) != nullptr;
  }
  const JsonValue* take(const char* name) {
    if (object_ == nullptr) return nullptr;
    untaken_.erase(name);
    return object_->member(name);
  }
  bool isNull(const char* name) {
    const JsonValue* value = take(name);
    return value != nullptr && value->kind == JsonValue::Kind::Null;
  }

  void string(const char* name, std::string& out) {
    const JsonValue* value = take(name);
    if (value == nullptr || value->kind != JsonValue::Kind::String)
      return failField(name, "ni besedilo");
    out = value->text;
  }

  void integer(const char* name, int64_t low, int64_t high, int64_t& out) {
    if (!readInteger(take(name), low, high, out))
      failField(name, "ni celo stevilo od " + std::to_string(low) + " do " +
                          std::to_string(high));
  }

  void real(const char* name, double low, double high, double& out) {
    const JsonValue* value = take(name);
    if (value == nullptr || value->kind != JsonValue::Kind::Number)
      return failField(name, "ni stevilo");
    out = std::strtod(value->text.c_str(), nullptr);
    if (!(out >= low && out <= high)) failField(name, "je zunaj meja");
  }

  void counts(const char* name, std::vector<int64_t>& out) {
    const JsonValue* value = take(name);
    out.clear();
    bool good = value != nullptr && value->kind == JsonValue::Kind::Array &&
                value->elements.size() <= static_cast<size_t>(MaxCount);
    for (size_t i = 0; good && i < value->elements.size(); ++i) {
      int64_t count = 0;
      good = readInteger(&value->elements[i], 0, MaxCount, count);
      out.push_back(count);
    }
    if (!good) failField(name, "ni seznam celih stevil od 0 do " + std::to_string(MaxCount));
  }

  void status(const char* name, CaseStatus& out) {
    std::string text;
    string(name, text);
    if (ok() && !statusOfName(text, out)) failField(name, "ni znano stanje");
  }

  // The number must be `expected` exactly, as the writer derives it.
  void derived(const char* name, double expected) {
    double value = 0;
    real(name, -HUGE_VAL, HUGE_VAL, value);
    if (ok() && value != expected) failField(name, "se ne ujema s stevili kart");
  }

  void finish() {
    if (ok() && !untaken_.empty()) fail("ima neznano polje \"" + *untaken_.begin() + "\"");
  }

  void fail(const std::string& why) {
    if (ok()) error_ = what_ + " " + why;
  }
  void failField(const char* name, const std::string& why) {
    fail("ima polje \"" + std::string(name) + "\", ki " + why);
  }

 private:
  static bool readInteger(const JsonValue* value, int64_t low, int64_t high, int64_t& out) {
    if (value == nullptr || value->kind != JsonValue::Kind::Number ||
        value->text.find_first_of(".eE") != std::string::npos || value->text.size() > 19)
      return false;
    out = std::strtoll(value->text.c_str(), nullptr, 10);
    return out >= low && out <= high;
  }

  std::string what_;
  const JsonValue* object_ = nullptr;
  std::set<std::string> untaken_;
  std::string error_;
};

// Runs fit their status: counts exactly when it carries a score.
void checkRuns(ObjectReader& reader, CaseStatus status, const std::vector<int64_t>& runs) {
  if (traitsOf(status).carriesScore == runs.empty())
    reader.failField(key::Runs, "se ne ujema s stanjem");
}

void readFeatures(ObjectReader& reader, CaseFeatures& features) {
  ObjectReader sizes(reader.take(key::Features), "polje \"features\"");
  const std::pair<const char*, int32_t*> fields[] = {{key::Films, &features.nMovies},
                                                     {key::Viewers, &features.nViewers},
                                                     {key::Seats, &features.nSeats},
                                                     {key::Screenings, &features.nScreenings}};
  for (const auto& field : fields) {
    if (sizes.isNull(field.first)) {
      *field.second = -1;
      continue;
    }
    int64_t size = 0;
    sizes.integer(field.first, 0, MaxCount, size);
    *field.second = static_cast<int32_t>(size);
  }
  sizes.finish();
  reader.adopt(sizes);
}

void readSolver(ObjectReader& reader, SolverRun& solver) {
  if (!reader.has(key::Solver)) return;
  ObjectReader object(reader.take(key::Solver), "polje \"solver\"");
  solver.ran = true;
  solver.exited = !object.isNull(key::Status);
  int64_t code = 0;
  object.integer(solver.exited ? key::Status : key::Signal, INT32_MIN, INT32_MAX, code);
  if (solver.exited && !object.isNull(key::Signal)) object.fail("ima status in signal hkrati");
  solver.status = static_cast<int>(code);
  object.real(key::Seconds, 0, MaxSeconds, solver.seconds);
  object.string(key::StderrTail, solver.stderrTail);
  object.finish();
  reader.adopt(object);
}

void readEarlier(ObjectReader& reader, EarlierResult& earlier) {
  if (!reader.has(key::Earlier)) return;
  ObjectReader object(reader.take(key::Earlier), "polje \"earlier\"");
  earlier.present = true;
  object.status(key::Status, earlier.status);
  object.counts(key::Runs, earlier.runs);
  if (object.ok()) checkRuns(object, earlier.status, earlier.runs);
  object.finish();
  reader.adopt(object);
}

void readScores(ObjectReader& reader, CaseResult& result) {
  reader.counts(key::Runs, result.runs);
  if (!reader.ok()) return;
  checkRuns(reader, result.status, result.runs);
  if (result.scored())
    reader.derived(key::Score, result.score());
  else if (!reader.isNull(key::Score))
    reader.failField(key::Score, "bi moral biti null");
  if (reader.has(key::Best)) {
    result.hasBest = true;
    reader.real(key::Best, 0, HUGE_VAL, result.best);
    result.relative = result.best > 0 ? result.score() / result.best : 0;
    if (reader.ok() && !std::isfinite(result.relative))
      reader.failField(key::Best, "je premajhna za relativno oceno");
    reader.derived(key::Relative, result.relative);
  }
  readEarlier(reader, result.earlier);
  if (result.hasChange()) {
    reader.derived(key::Change, result.change().value());
    reader.derived(key::RelativeChange, result.relativeChange());
  }
}

void readOptionalString(ObjectReader& reader, const char* name, std::string& out) {
  if (reader.has(name)) reader.string(name, out);
}

bool readCaseObject(const JsonValue& value, CaseResult& result, std::string& error) {
  ObjectReader reader(&value, "primer");
  reader.string(key::Name, result.name);
  if (reader.ok() && result.name.empty()) reader.failField(key::Name, "je prazno");
  reader.status(key::Status, result.status);
  if (reader.ok()) readScores(reader, result);
  readFeatures(reader, result.features);
  readOptionalString(reader, key::Page, result.pagePath);
  readOptionalString(reader, key::Message, result.message);
  if (!reader.isNull(key::Report)) reader.string(key::Report, result.reportPath);
  readSolver(reader, result.solver);
  reader.finish();
  error = reader.error();
  return reader.ok();
}

size_t sizeOf(int64_t value) { return static_cast<size_t>(value); }

void readCount(ObjectReader& reader, const char* name, size_t& out) {
  int64_t value = 0;
  reader.integer(name, 0, INT64_MAX, value);
  out = sizeOf(value);
}

void readInterval(ObjectReader& reader, const char* name, ConfidenceInterval& interval) {
  const JsonValue* value = reader.take(name);
  if (value == nullptr || value->kind != JsonValue::Kind::Array || value->elements.size() != 2 ||
      value->elements[0].kind != JsonValue::Kind::Number ||
      value->elements[1].kind != JsonValue::Kind::Number)
    return reader.failField(name, "ni par stevil");
  interval.low = std::strtod(value->elements[0].text.c_str(), nullptr);
  interval.high = std::strtod(value->elements[1].text.c_str(), nullptr);
  if (!(interval.low <= interval.high)) reader.failField(name, "ni interval");
}

void readPaired(ObjectReader& reader, PairedStatistics& paired) {
  reader.real(key::SignTestP, 0, 1, paired.signTestP);
  reader.real(key::WilcoxonP, 0, 1, paired.wilcoxonP);
  reader.real(key::GeometricMeanRatio, 0, HUGE_VAL, paired.geometricMeanRatio);
  readInterval(reader, key::GeometricMeanRatioCi95, paired.geometricMeanRatioCi95);
  reader.real(key::MeanRelativeChange, -1, HUGE_VAL, paired.meanRelativeChange);
  readInterval(reader, key::MeanRelativeChangeCi95, paired.meanRelativeChangeCi95);
  readCount(reader, key::BeyondTwoStandardErrors, paired.beyondTwoStandardErrors);
  std::string verdict;
  reader.string(key::Verdict, verdict);
  bool known = false;
  for (int i = 0; i < 3; ++i)
    if (verdict == VerdictNames[i]) {
      paired.verdict = static_cast<Verdict>(i);
      known = true;
    }
  if (reader.ok() && !known) reader.failField(key::Verdict, "ni znana sodba");
}

void readComparison(ObjectReader& reader, BatchTotals& totals) {
  if (!reader.has(key::Comparison)) return;
  totals.compared = true;
  ObjectReader object(reader.take(key::Comparison), "polje \"comparison\"");
  const std::pair<const char*, size_t*> counts[] = {
      {key::Better, &totals.better},           {key::Worse, &totals.worse},
      {key::Equal, &totals.equal},             {key::NewlyFailing, &totals.newlyFailing},
      {key::NewlyFixed, &totals.newlyFixed},   {key::OnlyNew, &totals.onlyNew},
      {key::OtherRunCount, &totals.otherRunCount}};
  for (const auto& count : counts) readCount(object, count.first, *count.second);
  object.real(key::ChangeMean, -HUGE_VAL, HUGE_VAL, totals.changeMean);
  readPaired(object, totals.paired);
  object.finish();
  reader.adopt(object);
}

void readSlowestSolver(ObjectReader& reader, BatchTotals& totals) {
  if (!reader.has(key::SolverFailures)) return;
  totals.solved = true;
  readCount(reader, key::SolverFailures, totals.solverFailures);
  ObjectReader slowest(reader.take(key::SlowestSolver), "polje \"slowest_solver\"");
  slowest.string(key::Name, totals.slowestSolver);
  slowest.real(key::Seconds, 0, MaxSeconds, totals.slowestSolverSeconds);
  slowest.finish();
  reader.adopt(slowest);
}

// A summary's mean of scores as a fraction: the figures are kept as the
// writer gives them, to the last digit of a double.
void readFraction(ObjectReader& reader, const char* name, Fraction& out) {
  double value = 0;
  reader.real(name, 0, HUGE_VAL, value);
  out = Fraction::ofDouble(value);
}

void readProvenance(ObjectReader& reader, Provenance& provenance) {
  if (!reader.has(key::Provenance)) return;
  ObjectReader object(reader.take(key::Provenance), "polje \"provenance\"");
  provenance.known = true;
  object.string(key::Version, provenance.version);
  object.string(key::CommandLine, provenance.commandLine);
  object.string(key::StartTime, provenance.startTime);
  object.integer(key::Runs, 1, MaxCount, provenance.runs);
  object.string(key::SolverCommand, provenance.solverCommand);
  object.finish();
  reader.adopt(object);
}

void readFigures(ObjectReader& reader, BatchTotals& totals) {
  readProvenance(reader, totals.provenance);
  readCount(reader, key::Cases, totals.cases);
  readCount(reader, key::Scored, totals.scored);
  readCount(reader, key::Failed, totals.failed);
  ObjectReader statuses(reader.take(key::Statuses), "polje \"statuses\"");
  for (const CaseStatusTraits& traits : caseStatuses())
    readCount(statuses, traits.name, totals.byStatus[static_cast<size_t>(traits.status)]);
  statuses.finish();
  reader.adopt(statuses);
  readFraction(reader, key::ScoreSum, totals.scoreSum);
  readFraction(reader, key::ScoreMean, totals.scoreMean);
  reader.real(key::LogScoreMean, -HUGE_VAL, HUGE_VAL, totals.logScoreMean);
  readCount(reader, key::ZeroScores, totals.zeros);
  if (reader.has(key::RelativeMean)) {
    totals.relative = true;
    reader.real(key::RelativeMean, 0, HUGE_VAL, totals.relativeMean);
  }
  readComparison(reader, totals);
  if (reader.has(key::Interrupted)) {
    const JsonValue* flag = reader.take(key::Interrupted);
    totals.interrupted = flag->kind == JsonValue::Kind::Boolean && flag->text == "true";
    if (!totals.interrupted) reader.failField(key::Interrupted, "ni true");
  }
  readSlowestSolver(reader, totals);
}

bool isSummary(const JsonValue& value) {
  return value.kind == JsonValue::Kind::Object && value.member(key::Summary) != nullptr;
}

}  // namespace

std::string caseLine(const CaseResult& result) {
  JsonObject object;
  object.string(key::Name, result.name).string(key::Status, statusName(result.status));
  addScores(result, object);
  object.object(key::Features, featuresObject(result.features));
  if (!result.pagePath.empty()) object.string(key::Page, result.pagePath);
  if (!result.message.empty()) object.string(key::Message, result.message);
  if (result.reportPath.empty())
    object.null(key::Report);
  else
    object.string(key::Report, result.reportPath);
  if (result.solver.ran) object.object(key::Solver, solverObject(result.solver));
  return object.text();
}

std::string summaryLine(const BatchTotals& totals) {
  JsonObject figures;
  figures.integer(key::Cases, static_cast<int64_t>(totals.cases))
      .integer(key::Scored, static_cast<int64_t>(totals.scored))
      .integer(key::Failed, static_cast<int64_t>(totals.failed))
      .object(key::Statuses, countsByStatus(totals))
      .real(key::ScoreSum, totals.scoreSum.value())
      .real(key::ScoreMean, totals.scoreMean.value())
      .real(key::LogScoreMean, totals.logScoreMean)
      .integer(key::ZeroScores, static_cast<int64_t>(totals.zeros));
  if (totals.relative) figures.real(key::RelativeMean, totals.relativeMean);
  if (totals.compared) figures.object(key::Comparison, comparisonObject(totals));
  if (totals.interrupted) figures.boolean(key::Interrupted, true);
  if (totals.solved) {
    JsonObject slowest;
    slowest.string(key::Name, totals.slowestSolver)
        .number(key::Seconds, secondsText(totals.slowestSolverSeconds));
    figures.integer(key::SolverFailures, static_cast<int64_t>(totals.solverFailures))
        .object(key::SlowestSolver, slowest);
  }
  if (totals.provenance.known)
    figures.object(key::Provenance, provenanceObject(totals.provenance));
  JsonObject summary;
  summary.object(key::Summary, figures);
  return summary.text();
}

std::string resultsText(const std::vector<CaseResult>& results, const BatchTotals& totals) {
  std::string text;
  for (const CaseResult& result : results) text += caseLine(result) + "\n";
  return text + summaryLine(totals) + "\n";
}

bool readCaseLine(const std::string& line, CaseResult& result, std::string& error) {
  JsonValue value;
  if (!parseJson(line, value)) {
    error = "ni en sam veljaven objekt JSON";
    return false;
  }
  result = CaseResult();
  return readCaseObject(value, result, error);
}

bool readSummaryLine(const std::string& line, BatchTotals& totals, std::string& error) {
  JsonValue value;
  if (!parseJson(line, value)) {
    error = "ni en sam veljaven objekt JSON";
    return false;
  }
  ObjectReader outer(&value, "povzetek");
  ObjectReader figures(outer.take(key::Summary), "povzetek");
  totals = BatchTotals();
  readFigures(figures, totals);
  figures.finish();
  outer.adopt(figures);
  outer.finish();
  error = outer.error();
  return outer.ok();
}

bool parseResultsText(const std::string& text, ResultsFile& results, std::string& error) {
  results = ResultsFile();
  std::set<std::string> names;
  size_t begin = 0;
  for (size_t lineNo = 1; begin < text.size(); ++lineNo) {
    size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(begin, end - begin);
    begin = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string problem;
    JsonValue value;
    if (results.hasSummary) {
      problem = "stoji za povzetkom";
    } else if (parseJson(line, value) && isSummary(value)) {
      results.hasSummary = readSummaryLine(line, results.summary, problem);
    } else {
      CaseResult result;
      if (readCaseLine(line, result, problem) && !names.insert(result.name).second)
        problem = "ponovi primer \"" + result.name + "\"";
      if (problem.empty()) results.cases.push_back(std::move(result));
    }
    if (!problem.empty()) {
      error = "vrstica " + std::to_string(lineNo) + ": " + problem;
      return false;
    }
  }
  return true;
}

bool readResultsFile(const std::string& path, ResultsFile& results, std::string& error) {
  std::string text;
  if (readWholeFile(path, MaxResultsFileBytes, text, error) != WholeFileRead::Read)
    return false;
  return parseResultsText(text, results, error);
}
