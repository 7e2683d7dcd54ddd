#include "batch/summary_page.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "base/assertion.h"
#include "base/number_format.h"
#include "page/chart_axes.h"
#include "page/html_text.h"
#include "page/page_frame.h"
#include "page/relative_link.h"
#include "page/scatter_plot.h"
#include "page/svg_shapes.h"
#include "page/table_cells.h"
#include "statistics/paired_verdict_text.h"

namespace {

const size_t MaxNameCharacters = 80;
const size_t MaxMessageCharacters = 200;
const size_t MaxCommandCharacters = 300;
const size_t MaxTailBytes = 600;

std::string number(double value, int decimals) { return formatFixed(value, decimals); }

std::string count(size_t value) { return intToStr(static_cast<int64_t>(value)); }

// As the console writes a change: a plus before a positive one.
std::string signedFixed(double value, int decimals) {
  const std::string text = formatFixed(value, decimals);
  return value > 0 ? "+" + text : text;
}

std::string signedText(const Fraction& value, int decimals) {
  const std::string text = value.text(decimals);
  return value.sign() > 0 ? "+" + text : text;
}

std::string sizeCell(int32_t size) { return numberCell(size < 0 ? "-" : intToStr(size)); }

std::string scoreText(const CaseResult& result) {
  return result.scored() ? result.exactScore().text(3) : "-";
}

std::string nameText(const CaseResult& result) {
  return shortHtmlText(result.name, MaxNameCharacters);
}

// What the plots and the order of the table go by: the relative score where
// bests are known, the score otherwise.
double merit(const CaseResult& result, const BatchTotals& totals) {
  return totals.relative ? result.relative : result.score();
}

bool anySolverRan(const std::vector<CaseResult>& results) {
  return std::any_of(results.begin(), results.end(),
                     [](const CaseResult& result) { return result.solver.ran; });
}

// The link from the summary to a case's explain page; empty when it has none.
std::string linkOf(const CaseResult& result, const std::string& summaryPath) {
  return result.pagePath.empty() ? "" : relativeLink(result.pagePath, summaryPath);
}

// `content` linked to the case's explain page when it has one.
std::string linked(const std::string& content, const CaseResult& result,
                   const std::string& summaryPath) {
  const std::string link = linkOf(result, summaryPath);
  return link.empty() ? content : "<a href=\"" + link + "\">" + content + "</a>";
}

// The figure that follows `prefix` in one of the verdict line's clauses
// (after its ": ", separated by ", "), so that the page's figures are the
// console's to the digit; "-" when no clause has it.
std::string verdictFigure(const std::string& verdict, const std::string& prefix) {
  size_t at = verdict.find(": ");
  while (at != std::string::npos) {
    const size_t start = at + 2, end = verdict.find(", ", start);
    const std::string clause = verdict.substr(start, end == std::string::npos ? end : end - start);
    if (clause.compare(0, prefix.size(), prefix) == 0) return clause.substr(prefix.size());
    at = end;
  }
  return "-";
}

std::string figureRow(const std::string& what, const std::string& value) {
  return "<tr>" + cell(what) + cell(value) + "</tr>\n";
}

std::string verdictClass(Verdict verdict) {
  if (verdict == Verdict::Better) return "verdict ok";
  return verdict == Verdict::Worse ? "verdict bad" : "verdict";
}

std::string figuresTable(const BatchTotals& totals, const std::string& verdict) {
  const PairedStatistics& paired = totals.paired;
  const std::string interval = " (95 % interval " +
                               signedFixed(paired.meanRelativeChangeCi95.low, 4) + " do " +
                               signedFixed(paired.meanRelativeChangeCi95.high, 4) + ")";
  return "<table class=\"figures\">\n" +
         figureRow("predznacni test (boljsi proti slabsim), p",
                   verdictFigure(verdict, "predznacni test p = ")) +
         figureRow("Wilcoxonov test predznacenih rangov, p",
                   verdictFigure(verdict, "Wilcoxon p = ")) +
         figureRow("geometrijsko povprecje razmerij nova / stara ocena",
                   verdictFigure(verdict, "geometrijsko povprecje razmerij ")) +
         figureRow("povprecna relativna sprememba (nova / stara - 1)",
                   signedFixed(paired.meanRelativeChange, 4) + interval) +
         figureRow("spremenjenih za vec kot dve standardni napaki simulacije",
                   count(paired.beyondTwoStandardErrors)) +
         figureRow("boljsih / slabsih / enakih", count(totals.better) + " / " +
                                                      count(totals.worse) + " / " +
                                                      count(totals.equal)) +
         figureRow("na novo neuspelih / na novo ocenjenih",
                   "<span id=\"newly-failing\">" + count(totals.newlyFailing) +
                       "</span> / " + count(totals.newlyFixed)) +
         figureRow("povprecna sprememba ocene", signedFixed(totals.changeMean, 3)) +
         "</table>\n";
}

// The answer first: is the new version better, and by how much.
std::string verdictSection(const BatchTotals& totals) {
  const std::string verdict = pairedVerdictText(totals.paired);
  return "<section id=\"comparison\">\n<h2>Ali je nova razlicica boljsa?</h2>\n<p class=\"" +
         verdictClass(totals.paired.verdict) + "\" id=\"verdict\">" + htmlText(verdict) +
         "</p>\n" + figuresTable(totals, verdict) +
         "<p class=\"note\">Primerjani so primeri, ocenjeni v obeh izvedbah, po simulacijah, "
         "ki jih imata obe; sodba velja pri stopnji 5 %.</p>\n</section>\n";
}

std::string provenanceCell(const Provenance& provenance, const std::string& value) {
  return cell(provenance.known ? value : "datoteka tega ne pove");
}

std::string provenanceRow(const std::string& what, const PageContext& context,
                          const BatchTotals& totals,
                          const std::function<std::string(const Provenance&)>& value) {
  std::string row = "<tr>" + cell(what) + provenanceCell(totals.provenance,
                                                         value(totals.provenance));
  if (!context.comparedPath.empty()) row += provenanceCell(context.earlier, value(context.earlier));
  return row + "</tr>\n";
}

// Where this batch's results and the compared ones came from.
std::string provenanceSection(const BatchTotals& totals, const PageContext& context) {
  std::string head = "<tr><th></th><th>ta izvedba</th>";
  if (!context.comparedPath.empty())
    head += "<th>primerjana: <code>" + shortHtmlText(context.comparedPath, MaxNameCharacters) +
            "</code></th>";
  const auto code = [](const std::string& text) {
    return "<code>" + shortHtmlText(text, MaxCommandCharacters) + "</code>";
  };
  return "<section id=\"provenance\">\n<h2>Izvor rezultatov</h2>\n<table class=\"provenance\">\n" + head +
         "</tr>\n" +
         provenanceRow("razlicica programa", context, totals,
                       [](const Provenance& p) { return htmlText(p.version); }) +
         provenanceRow("ukazna vrstica", context, totals,
                       [&code](const Provenance& p) { return code(p.commandLine); }) +
         provenanceRow("zacetek (UTC)", context, totals,
                       [](const Provenance& p) { return htmlText(p.startTime); }) +
         provenanceRow("simulacij na primer", context, totals,
                       [](const Provenance& p) { return intToStr(p.runs); }) +
         provenanceRow("resevalec", context, totals, [&code](const Provenance& p) {
           return p.solverCommand.empty() ? "brez (oddaje so ze bile)" : code(p.solverCommand);
         }) +
         "</table>\n</section>\n";
}

std::string totalsSection(const BatchTotals& totals) {
  std::string items = "<li>primerov: " + count(totals.cases) + ", ocenjenih: " +
                      count(totals.scored) + ", neuspelih: " + count(totals.failed) +
                      "</li>\n<li>povprecna ocena (neuspeli primeri stejejo 0): " +
                      totals.scoreMean.text(3) +
                      "</li>\n<li>povprecje ln(ocena): " + number(totals.logScoreMean, 3) +
                      "</li>\n";
  if (totals.relative)
    items += "<li>povprecna relativna ocena: <span id=\"relative-mean\">" +
             number(totals.relativeMean, 4) + "</span></li>\n";
  if (totals.solved)
    items += "<li>najpocasnejsi resevalec: " + shortHtmlText(totals.slowestSolver,
                                                              MaxNameCharacters) +
             " (" + number(totals.slowestSolverSeconds, 3) + " s)</li>\n";
  return "<section id=\"totals\">\n<h2>Skupaj</h2>\n<ul class=\"messages\">\n" + items +
         "</ul>\n</section>\n";
}

// The cases of the change chart, left to right: the newly failing, those
// scored in both runs by relative change, the newly fixed.
struct ChangeOrder {
  std::vector<const CaseResult*> failing, changed, fixed;
  size_t slots() const { return failing.size() + changed.size() + fixed.size(); }
};

ChangeOrder changeOrder(const std::vector<CaseResult>& results) {
  ChangeOrder order;
  for (const CaseResult& result : results) {
    if (result.hasChange()) order.changed.push_back(&result);
    if (result.newlyFailing()) order.failing.push_back(&result);
    if (result.newlyFixed()) order.fixed.push_back(&result);
  }
  std::sort(order.changed.begin(), order.changed.end(),
            [](const CaseResult* a, const CaseResult* b) {
              const double x = a->relativeChange(), y = b->relativeChange();
              return x != y ? x < y : a->name < b->name;
            });
  return order;
}

ChartAxis changeAxis(const ChangeOrder& order) {
  double low = 0, high = 0;
  for (const CaseResult* result : order.changed) {
    low = std::min(low, result->relativeChange());
    high = std::max(high, result->relativeChange());
  }
  if (high - low < 0.002) high = low + 0.002;
  return linearAxis(low, high, 6, "relativna sprememba ocene (nova / stara - 1)", 100, " %");
}

std::string changeBar(const ChartFrame& frame, const ChartAxis& y, double left, double width,
                      const CaseResult& result, const std::string& summaryPath) {
  const double change = result.relativeChange();
  const double top = yPixel(frame, y, std::max(change, 0.0));
  const double height = std::max(yPixel(frame, y, std::min(change, 0.0)) - top, 1.0);
  const std::string bar =
      svgRectStart("change-bar", left + width * 0.1, top, width * 0.8, height,
                   change >= 0 ? "#1a7f37" : "#c62828", 1) +
      "><title>" + nameText(result) + ": " + signedFixed(change * 100, 2) + " % (ocena " +
      scoreText(result) + ", sprememba " + signedText(result.change(), 3) + ")</title></rect>";
  return linked(bar, result, summaryPath) + "\n";
}

// A triangle below the axis for a case scored in one run only: pointing
// down, red, when it fails now; up, green, when it fails no more.
std::string caseMark(const ChartFrame& frame, double middle, const CaseResult& result,
                     bool failing, const std::string& summaryPath) {
  const double base = frame.top + frame.height + (failing ? 4 : 14);
  const double tip = failing ? base + 10 : base - 10;
  const std::string mark =
      std::string("<path class=\"") + (failing ? "newly-failing" : "newly-fixed") +
      "\" d=\"M" + number(middle - 5, 1) + " " + number(base, 1) + "L" +
      number(middle + 5, 1) + " " + number(base, 1) + "L" + number(middle, 1) + " " +
      number(tip, 1) + "Z\" fill=\"" + (failing ? "#c62828" : "#1a7f37") + "\"><title>" +
      nameText(result) + (failing ? ": na novo neuspel (" : ": na novo ocenjen (") +
      statusLabel(result.status) + ")</title></path>";
  return linked(mark, result, summaryPath) + "\n";
}

std::string changeChart(const ChangeOrder& order, const std::string& summaryPath) {
  const double slot = std::min(28.0, std::max(4.0, 760.0 / std::max<size_t>(order.slots(), 1)));
  const ChartFrame frame = {72, 16, slot * std::max<size_t>(order.slots(), 1), 240};
  const ChartAxis y = changeAxis(order);
  ChartAxis x;
  x.title = "primeri, urejeni po relativni spremembi";
  std::string out = "<svg width=\"" + number(frame.left + frame.width + 100, 0) +
                    "\" height=\"" + number(frame.top + frame.height + 44, 0) +
                    "\" role=\"img\" aria-label=\"relativna sprememba po primerih\">\n" +
                    svgAxes(frame, x, y);
  const double zero = yPixel(frame, y, 0);
  out += "<line class=\"zero\" x1=\"" + number(frame.left, 1) + "\" y1=\"" + number(zero, 1) +
         "\" x2=\"" + number(frame.left + frame.width, 1) + "\" y2=\"" + number(zero, 1) +
         "\"/>\n" + svgText(frame.left + frame.width + 6, zero + 4, "", "brez spremembe", 1) +
         "\n";
  double left = frame.left;
  for (const CaseResult* result : order.failing)
    out += caseMark(frame, (left += slot) - slot / 2, *result, true, summaryPath);
  for (const CaseResult* result : order.changed) {
    out += changeBar(frame, y, left, slot, *result, summaryPath);
    left += slot;
  }
  for (const CaseResult* result : order.fixed)
    out += caseMark(frame, (left += slot) - slot / 2, *result, false, summaryPath);
  return out + "</svg>\n";
}

std::string changesSection(const std::vector<CaseResult>& results,
                           const std::string& summaryPath) {
  const ChangeOrder order = changeOrder(results);
  return "<section id=\"changes\">\n<h2>Relativna sprememba po primerih</h2>\n" +
         changeChart(order, summaryPath) +
         "<p class=\"note\">Stolpec za vsak primer, ocenjen v obeh izvedbah: zelen, ce je "
         "nova ocena visja, rdec, ce je nizja. Rdec trikotnik pod osjo: na novo neuspel "
         "primer (" + count(order.failing.size()) + "); zelen: na novo ocenjen (" +
         count(order.fixed.size()) + ").</p>\n</section>\n";
}

// The end of a failed solver's standard error: its last bytes, from a line
// start where one is near.
std::string tailOf(const std::string& text) {
  if (text.size() <= MaxTailBytes) return text;
  size_t start = text.size() - MaxTailBytes;
  const size_t lineStart = text.find('\n', start);
  if (lineStart != std::string::npos && lineStart + 1 < text.size()) start = lineStart + 1;
  return "..." + text.substr(start);
}

std::string solverEnd(const SolverRun& solver) {
  return " (resevalec " + std::string(solver.exited ? "je koncal s kodo " : "je bil ustavljen, signal ") +
         intToStr(solver.status) + " po " + number(solver.seconds, 3) + " s)";
}

// Why a case failed: the solver's standard error when the solver is to
// blame and wrote any, otherwise the report's first message line.
std::string failureReason(const CaseResult& result) {
  const bool solvers = traitsOf(result.status).solversFault && result.solver.ran;
  std::string text = statusLabel(result.status) + (solvers ? solverEnd(result.solver) : "");
  if (solvers && !result.solver.stderrTail.empty())
    return text + "<pre class=\"tail\">" +
           shortHtmlText(tailOf(result.solver.stderrTail), MaxTailBytes + 3) + "</pre>";
  const std::string line = result.message.substr(0, result.message.find('\n'));
  return line.empty() ? text : text + " &middot; " + shortHtmlText(line, MaxMessageCharacters);
}

std::string failuresSection(const std::vector<CaseResult>& results,
                            const std::string& summaryPath) {
  std::string items;
  for (const CaseResult& result : results)
    if (!result.scored())
      items += "<li class=\"failure\"><b>" + linked(nameText(result), result, summaryPath) +
               "</b>: " + failureReason(result) + "</li>\n";
  if (items.empty()) return "";
  return "<section id=\"failures\">\n<h2>Neuspeli primeri in zakaj</h2>\n"
         "<ul class=\"messages\">\n" + items + "</ul>\n</section>\n";
}

// A quantity the scatter plots put on their x axis.
struct Feature {
  const char* name;     // as the caption names it
  const char* title;    // the axis' title
  bool logScale;
  std::function<double(const CaseFeatures&)> value;  // < 0 when unknown
};

const std::vector<Feature>& sizeFeatures() {
  static const std::vector<Feature> features = {
      {"filmi", "stevilo filmov", true, [](const CaseFeatures& f) { return double(f.nMovies); }},
      {"gledalci", "stevilo gledalcev", true,
       [](const CaseFeatures& f) { return double(f.nViewers); }},
      {"sedezi", "sedezev v dvorani", false,
       [](const CaseFeatures& f) { return double(f.nSeats); }},
      {"gledalci na sedez", "gledalcev na sedez", true,
       [](const CaseFeatures& f) {
         return f.nSeats > 0 && f.nViewers >= 0 ? double(f.nViewers) / f.nSeats : -1.0;
       }},
      {"predstave", "stevilo predstav v sporedu", false,
       [](const CaseFeatures& f) { return double(f.nScreenings); }}};
  return features;
}

// The points of one plot against `feature`: x in the axis' units.
struct Points {
  std::vector<ScatterPoint> points;
  double low = 1, high = 1, top = 0;
};

void addPoint(Points& plot, double x, double y, const std::string& title,
              const std::string& link) {
  if (plot.points.empty()) plot.low = plot.high = x;
  plot.low = std::min(plot.low, x);
  plot.high = std::max(plot.high, x);
  plot.top = std::max(plot.top, y);
  plot.points.push_back({x, y, title, link});
}

std::string scatterOf(Points plot, const Feature& feature, const std::string& quantity,
                      const std::string& yTitle) {
  const std::string xTitle =
      std::string(feature.title) + (feature.logScale ? " (logaritemska lestvica)" : "");
  const ChartAxis x = feature.logScale ? logAxis(plot.low, plot.high, xTitle)
                                       : linearAxis(plot.low, plot.high, 5, xTitle);
  const ChartAxis y = linearAxis(0, plot.top > 0 ? plot.top : 1, 5, yTitle);
  if (feature.logScale)
    for (ScatterPoint& point : plot.points) point.x = std::log10(point.x);
  return svgScatter(quantity + " glede na: " + feature.name, x, y, plot.points,
                    quantity == "cas resevalca" ? "solver-point" : "point");
}

// The smallest value a logarithmic axis shows; a case at 0 stands there.
const double LeastLogValue = 0.01;

double plotted(const Feature& feature, double x) {
  return feature.logScale ? std::max(x, LeastLogValue) : x;
}

std::string plotsSection(const std::vector<CaseResult>& results, const BatchTotals& totals,
                         const std::string& summaryPath) {
  const std::string quantity = totals.relative ? "relativna ocena" : "ocena";
  const std::string yTitle = totals.relative ? "relativna ocena (ocena / najboljsa)"
                                             : "ocena (povprecje prodanih kart)";
  std::string out = "<section id=\"plots\">\n<h2>" +
                    std::string(totals.relative ? "Relativna ocena" : "Ocena") +
                    " glede na velikost primera</h2>\n";
  for (const Feature& feature : sizeFeatures()) {
    Points plot;
    for (const CaseResult& result : results) {
      const double x = feature.value(result.features);
      if (x < 0) continue;
      addPoint(plot, plotted(feature, x), merit(result, totals),
               nameText(result) + ": " + number(x, 1) + ", " + number(merit(result, totals), 4),
               linkOf(result, summaryPath));
    }
    out += scatterOf(plot, feature, quantity, yTitle);
  }
  return out + "<p class=\"note\">Vsaka tocka je en primer; neuspeli stojijo pri 0.</p>\n"
               "</section>\n";
}

std::string solverSection(const std::vector<CaseResult>& results,
                          const std::string& summaryPath) {
  const Feature& viewers = sizeFeatures()[1];
  Points plot;
  for (const CaseResult& result : results) {
    const double x = viewers.value(result.features);
    if (!result.solver.ran || x < 0) continue;
    addPoint(plot, plotted(viewers, x), result.solver.seconds,
             nameText(result) + ": " + number(x, 0) + " gledalcev, " +
                 number(result.solver.seconds, 3) + " s",
             linkOf(result, summaryPath));
  }
  return "<section id=\"solver-times\">\n<h2>Cas resevalca glede na velikost primera</h2>\n" +
         scatterOf(plot, viewers, "cas resevalca", "cas resevalca (s)") + "</section>\n";
}

std::string caseRow(const CaseResult& result, const BatchTotals& totals, bool solved,
                    const std::string& summaryPath) {
  const CaseFeatures& f = result.features;
  std::string row = "<tr class=\"case\">" + cell(linked(nameText(result), result, summaryPath)) +
                    sizeCell(f.nMovies) + sizeCell(f.nViewers) + sizeCell(f.nSeats) +
                    sizeCell(f.nScreenings) + numberCell(scoreText(result));
  if (totals.relative)
    row += numberCell(result.hasBest ? number(result.best, 3) : "-") +
           numberCell(number(result.relative, 4));
  if (totals.compared)
    row += numberCell(result.hasChange() ? signedText(result.change(), 3) : "-") +
           numberCell(result.hasChange() ? signedFixed(result.relativeChange(), 4) : "-");
  if (solved)
    row += numberCell(result.solver.ran ? number(result.solver.seconds, 3) : "-");
  return row + cell(statusLabel(result.status)) + "</tr>\n";
}

std::string casesSection(std::vector<CaseResult> results, const BatchTotals& totals,
                         const std::string& summaryPath) {
  std::stable_sort(results.begin(), results.end(),
                   [&totals](const CaseResult& a, const CaseResult& b) {
                     return merit(a, totals) < merit(b, totals);
                   });
  const bool solved = anySolverRan(results);
  std::string head = "<tr><th>primer</th><th class=\"n\">filmi</th><th class=\"n\">gledalci</th>"
                     "<th class=\"n\">sedezi</th><th class=\"n\">predstave</th>"
                     "<th class=\"n\">ocena</th>";
  if (totals.relative) head += "<th class=\"n\">najboljsa</th><th class=\"n\">relativno</th>";
  if (totals.compared) head += "<th class=\"n\">sprememba</th><th class=\"n\">rel. spr.</th>";
  if (solved) head += "<th class=\"n\">resevalec s</th>";
  head += "<th>stanje</th></tr>\n";
  std::string rows;
  for (const CaseResult& result : results) rows += caseRow(result, totals, solved, summaryPath);
  return "<section id=\"cases\">\n<h2>Primeri, najslabsi najprej</h2>\n<table>\n" + head +
         rows + "</table>\n</section>\n";
}

std::string comparedLine(const PageContext& context) {
  if (context.comparedPath.empty()) return "";
  return "<p class=\"sources\">Primerjano z datoteko <code id=\"compared-file\">" +
         shortHtmlText(context.comparedPath, MaxCommandCharacters) + "</code></p>\n";
}

}  // namespace

std::string renderSummaryPage(const std::vector<CaseResult>& results,
                              const BatchTotals& totals, const std::string& pagePath,
                              const PageContext& context) {
  std::string page = pageStart("Skedomat: rezultati", "Skedomat: rezultati");
  page += comparedLine(context);
  if (totals.compared) page += verdictSection(totals);
  page += provenanceSection(totals, context);
  page += totalsSection(totals);
  if (totals.compared) page += changesSection(results, pagePath);
  page += failuresSection(results, pagePath);
  page += plotsSection(results, totals, pagePath);
  if (anySolverRan(results)) page += solverSection(results, pagePath);
  page += casesSection(results, totals, pagePath);
  return page + pageEnd();
}
