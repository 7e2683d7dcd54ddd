#include "batch/batch_totals.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

std::string scoreText(const CaseResult& result) {
  return meanText(result.ticketSum(), static_cast<int64_t>(result.runs.size()));
}

std::string padded(const std::string& text, size_t width) {
  return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

void addRelativeAndChange(const std::vector<CaseResult>& results, BatchTotals& totals) {
  double relativeSum = 0, changeSum = 0;
  for (const CaseResult& result : results) {
    totals.relative = totals.relative || result.hasBest;
    relativeSum += result.relative;
    if (!result.hasChange) continue;
    totals.compared = true;
    changeSum += result.change;
    if (result.change > 0) ++totals.better;
    if (result.change < 0) ++totals.worse;
    if (result.change == 0) ++totals.equal;
  }
  if (!results.empty()) totals.relativeMean = relativeSum / static_cast<double>(results.size());
  const size_t nCompared = totals.better + totals.worse + totals.equal;
  if (nCompared > 0) totals.changeMean = changeSum / static_cast<double>(nCompared);
}

std::string fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// The score columns of one case's row.
std::string scoreColumns(const CaseResult& result, const BatchTotals& totals) {
  std::string columns = padded(result.scored() ? scoreText(result) : "-", 20) + "  ";
  if (totals.relative)
    columns += padded(result.hasBest ? exactDoubleText(result.best) : "-", 20) + "  " +
               padded(fixed(result.relative, 4), 8) + "  ";
  if (totals.compared)
    columns += padded(result.hasChange ? (result.change > 0 ? "+" : "") +
                                             exactDoubleText(result.change)
                                       : "-",
                      20) +
               "  ";
  return columns;
}

std::string scoreHeadings(const BatchTotals& totals) {
  std::string headings = padded("score", 20) + "  ";
  if (totals.relative) headings += padded("best", 20) + "  " + padded("relative", 8) + "  ";
  if (totals.compared) headings += padded("change", 20) + "  ";
  return headings;
}

void addSolver(const CaseResult& result, BatchTotals& totals) {
  if (!result.solver.ran) return;
  if (result.status == CaseStatus::TimeLimit || result.status == CaseStatus::SolverFailed)
    ++totals.solverFailures;
  if (!totals.solved || result.solver.seconds > totals.slowestSolverSeconds) {
    totals.slowestSolver = result.name;
    totals.slowestSolverSeconds = result.solver.seconds;
  }
  totals.solved = true;
}

// The solver's part of a line of the table, when the batch ran solvers.
std::string solverColumn(const CaseResult& result, const BatchTotals& totals) {
  if (!totals.solved) return std::string();
  return padded(statusName(result.status), 16) + "  " +
         (result.solver.ran ? secondsText(result.solver.seconds) : "-");
}

JsonObject solverObject(const SolverRun& solver) {
  JsonObject object;
  if (solver.exited)
    object.integer("status", solver.status);
  else
    object.null("status");
  object.number("seconds", secondsText(solver.seconds))
      .string("stderr_tail", solver.stderrTail);
  if (solver.exited)
    object.null("signal");
  else
    object.integer("signal", solver.status);
  return object;
}

}  // namespace

std::string secondsText(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", seconds);
  return text;
}

BatchTotals totalsOf(const std::vector<CaseResult>& results) {
  BatchTotals totals;
  totals.cases = results.size();
  double logSum = 0;
  size_t positive = 0;
  for (const CaseResult& result : results) {
    addSolver(result, totals);
    if (!result.scored()) {
      ++totals.failed;
      if (result.status == CaseStatus::NoReport) ++totals.noReport;
      continue;
    }
    ++totals.scored;
    const double score = result.score();
    totals.scoreSum += score;
    if (score > 0) {
      logSum += std::log(score);
      ++positive;
    } else {
      ++totals.zeros;
    }
  }
  if (totals.scored > 0) totals.scoreMean = totals.scoreSum / static_cast<double>(totals.scored);
  if (positive > 0) totals.logScoreMean = logSum / static_cast<double>(positive);
  addRelativeAndChange(results, totals);
  return totals;
}

std::string resultTable(const std::vector<CaseResult>& results,
                        const BatchTotals& totals) {
  size_t width = 4;
  for (const CaseResult& result : results) width = std::max(width, result.name.size());
  std::string table = padded("case", width) + "  " + scoreHeadings(totals) +
                      (totals.solved ? padded("status", 16) + "  solver s\n" : "status\n");
  for (const CaseResult& result : results)
    table += padded(result.name, width) + "  " + scoreColumns(result, totals) +
             (totals.solved ? solverColumn(result, totals)
                            : std::string(statusName(result.status))) +
             "\n";
  table += "\ncases: " + std::to_string(totals.cases) +
           ", scored: " + std::to_string(totals.scored) +
           ", failed: " + std::to_string(totals.failed) +
           " (no report: " + std::to_string(totals.noReport) + ")\n";
  table += "sum of scores: " + exactDoubleText(totals.scoreSum) +
           ", mean: " + exactDoubleText(totals.scoreMean) + "\n";
  table += "mean of ln(score): " + exactDoubleText(totals.logScoreMean) +
           " (zeros left out: " + std::to_string(totals.zeros) + ")\n";
  if (totals.relative) table += "mean relative score: " + fixed(totals.relativeMean, 6) + "\n";
  if (totals.compared)
    table += "against the earlier results: better " + std::to_string(totals.better) +
             ", worse " + std::to_string(totals.worse) + ", equal " +
             std::to_string(totals.equal) + ", mean change " +
             exactDoubleText(totals.changeMean) + "\n";
  if (totals.solved)
    table += "slowest solver: " + totals.slowestSolver + " (" +
             secondsText(totals.slowestSolverSeconds) + " s), stopped by their solver: " +
             std::to_string(totals.solverFailures) + "\n";
  return table;
}

namespace {

// A size, or null where it could not be read.
void addSize(JsonObject& object, const std::string& key, int32_t size) {
  if (size < 0)
    object.null(key);
  else
    object.integer(key, size);
}

JsonObject featuresObject(const CaseFeatures& features) {
  JsonObject object;
  addSize(object, "films", features.nMovies);
  addSize(object, "viewers", features.nViewers);
  addSize(object, "seats", features.nSeats);
  addSize(object, "screenings", features.nScreenings);
  return object;
}

}  // namespace

JsonObject caseObject(const CaseResult& result) {
  JsonObject object;
  object.string("name", result.name).string("status", statusName(result.status));
  object.integers("runs", result.runs);
  if (result.scored())
    object.number("score", scoreText(result));
  else
    object.null("score");
  if (result.hasBest)
    object.number("best", exactDoubleText(result.best))
        .number("relative", exactDoubleText(result.relative));
  if (result.hasChange) object.number("change", exactDoubleText(result.change));
  object.object("features", featuresObject(result.features));
  if (!result.pagePath.empty()) object.string("page", result.pagePath);
  if (!result.message.empty()) object.string("message", result.message);
  if (result.reportPath.empty())
    object.null("report");
  else
    object.string("report", result.reportPath);
  if (result.solver.ran) object.object("solver", solverObject(result.solver));
  return object;
}

JsonObject summaryObject(const BatchTotals& totals) {
  JsonObject figures;
  figures.integer("cases", static_cast<int64_t>(totals.cases))
      .integer("scored", static_cast<int64_t>(totals.scored))
      .integer("failed", static_cast<int64_t>(totals.failed))
      .integer("no_report", static_cast<int64_t>(totals.noReport))
      .number("score_sum", exactDoubleText(totals.scoreSum))
      .number("score_mean", exactDoubleText(totals.scoreMean))
      .number("log_score_mean", exactDoubleText(totals.logScoreMean))
      .integer("zero_scores", static_cast<int64_t>(totals.zeros));
  if (totals.relative) figures.number("relative_mean", exactDoubleText(totals.relativeMean));
  if (totals.compared)
    figures.integer("better", static_cast<int64_t>(totals.better))
        .integer("worse", static_cast<int64_t>(totals.worse))
        .integer("equal", static_cast<int64_t>(totals.equal))
        .number("change_mean", exactDoubleText(totals.changeMean));
  if (totals.solved) {
    JsonObject slowest;
    slowest.string("name", totals.slowestSolver)
        .number("seconds", secondsText(totals.slowestSolverSeconds));
    figures.integer("solver_failures", static_cast<int64_t>(totals.solverFailures))
        .object("slowest_solver", slowest);
  }
  JsonObject summary;
  summary.object("summary", figures);
  return summary;
}
