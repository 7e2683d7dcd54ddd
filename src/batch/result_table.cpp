#include "batch/result_table.h"

#include <algorithm>
#include <cstdio>

#include "base/console_text.h"
#include "base/number_format.h"
#include "statistics/paired_verdict_text.h"

namespace {

const size_t MaxNameWidth = 40;
const size_t NumberWidth = 14;

std::string shownName(const std::string& name) {
  const std::string text = consoleText(name);
  return text.size() <= MaxNameWidth ? text : text.substr(0, MaxNameWidth - 3) + "...";
}

std::string signedText(const Fraction& value, int decimals) {
  const std::string text = value.text(decimals);
  return value.sign() > 0 ? "+" + text : text;
}

std::string signedFixed(double value, int decimals) {
  const std::string text = formatFixed(value, decimals);
  return value > 0 ? "+" + text : text;
}

std::string count(size_t value) { return std::to_string(value); }

// The status, with the earlier one when the two differ.
std::string statusText(const CaseResult& result) {
  std::string text = statusLabel(result.status);
  if (result.earlier.present && result.earlier.status != result.status)
    text += std::string(" (prej ") + statusLabel(result.earlier.status) + ")";
  return text;
}

std::string headings(const BatchTotals& totals, size_t nameWidth) {
  std::string line = padRight("primer", nameWidth) + "  " + padLeft("ocena", NumberWidth);
  if (totals.relative)
    line += "  " + padLeft("najboljsa", NumberWidth) + "  " + padLeft("relativno", 9);
  if (totals.compared)
    line += "  " + padLeft("sprememba", NumberWidth) + "  " + padLeft("rel. spr.", 9) + "  " +
            padLeft("v SN", 7);
  if (totals.solved) line += "  " + padLeft("resevalec s", 11);
  return line + "  stanje\n";
}

// A change in units of the case's simulation standard error ("SN"); a
// change where the runs do not spread at all is beyond any such unit.
std::string inStandardErrors(const CaseChange& change) {
  if (change.direction == 0) return "0.0";
  if (change.standardError == 0) return change.direction > 0 ? "+beskon" : "-beskon";
  return signedFixed(change.inStandardErrors, 1);
}

// `change` is the case's change against the earlier run, when it has one.
std::string row(const CaseResult& result, const BatchTotals& totals, size_t nameWidth,
                const CaseChange* change) {
  std::string line = padRight(shownName(result.name), nameWidth) + "  " +
                     padLeft(result.scored() ? result.exactScore().text(3) : "-", NumberWidth);
  if (totals.relative)
    line += "  " + padLeft(result.hasBest ? formatFixed(result.best, 3) : "-", NumberWidth) +
            "  " + padLeft(formatFixed(result.relative, 4), 9);
  if (totals.compared)
    line += "  " + padLeft(result.hasChange() ? signedText(result.change(), 3) : "-",
                           NumberWidth) +
            "  " + padLeft(result.hasChange() ? signedFixed(result.relativeChange(), 4) : "-", 9) +
            "  " + padLeft(change != nullptr ? inStandardErrors(*change) : "-", 7);
  if (totals.solved)
    line += "  " + padLeft(result.solver.ran ? formatFixed(result.solver.seconds, 3) : "-", 11);
  return line + "  " + statusText(result) + "\n";
}

// The failures by status: "neveljaven spored 2, brez porocila 1".
std::string failuresByStatus(const BatchTotals& totals) {
  std::string text;
  for (const CaseStatusTraits& traits : caseStatuses()) {
    if (traits.carriesScore || totals.count(traits.status) == 0) continue;
    text += (text.empty() ? "" : ", ") + std::string(traits.label) + " " +
            count(totals.count(traits.status));
  }
  return text;
}

std::string comparisonLines(const BatchTotals& totals) {
  std::string text = "glede na prejsnje: boljsih " + count(totals.better) + ", slabsih " +
                     count(totals.worse) + ", enakih " + count(totals.equal) +
                     "; na novo neuspelih " + count(totals.newlyFailing) +
                     ", na novo ocenjenih " + count(totals.newlyFixed) + "\n";
  text += "povprecna sprememba ocene: " + signedFixed(totals.changeMean, 3) +
          ", relativno " + signedFixed(totals.paired.meanRelativeChange, 4) +
          "; za vec kot dve standardni napaki simulacije: " +
          count(totals.paired.beyondTwoStandardErrors) + "\n";
  return text + pairedVerdictText(totals.paired) + "\n";
}

std::string totalsLines(const BatchTotals& totals) {
  std::string text = "\nprimerov: " + count(totals.cases) + ", ocenjenih: " +
                     count(totals.scored) + ", neuspelih: " + count(totals.failed);
  const std::string failures = failuresByStatus(totals);
  text += (failures.empty() ? "" : " (" + failures + ")") + "\n";
  text += "vsota ocen: " + totals.scoreSum.text(3) +
          ", povprecje (neuspeli primeri stejejo 0): " + totals.scoreMean.text(3) + "\n";
  text += "povprecje ln(ocena): " + formatFixed(totals.logScoreMean, 3) +
          " (brez nicel, teh je " + count(totals.zeros) + ")\n";
  if (totals.relative)
    text += "povprecna relativna ocena: " + formatFixed(totals.relativeMean, 4) + "\n";
  if (totals.compared) text += comparisonLines(totals);
  if (totals.solved)
    text += "najpocasnejsi resevalec: " + shownName(totals.slowestSolver) + " (" +
            formatFixed(totals.slowestSolverSeconds, 3) + " s), ustavljenih zaradi resevalca: " +
            count(totals.solverFailures) + "\n";
  return text;
}

}  // namespace

std::string resultTable(const std::vector<CaseResult>& results, const BatchTotals& totals) {
  size_t nameWidth = 6;
  for (const CaseResult& result : results)
    nameWidth = std::max(nameWidth, shownName(result.name).size());
  std::string table = headings(totals, nameWidth);
  // The paired changes stand in the order of the cases that have one.
  size_t changed = 0;
  for (const CaseResult& result : results) {
    const CaseChange* change = result.hasChange() && changed < totals.paired.changes.size()
                                   ? &totals.paired.changes[changed++]
                                   : nullptr;
    table += row(result, totals, nameWidth, change);
  }
  return table + totalsLines(totals);
}

bool printTable(const std::vector<CaseResult>& results, const BatchTotals& totals) {
  const std::string table = resultTable(results, totals);
  const bool written = std::fwrite(table.data(), 1, table.size(), stdout) == table.size() &&
                       std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
  if (!written)
    std::fprintf(stderr, "Skedomat: tabele ni bilo mogoce zapisati na standardni izhod.\n");
  return written;
}
