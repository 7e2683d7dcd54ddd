#include "batch/summary_page.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>

#include "base/assertion.h"
#include "base/number_format.h"
#include "statistics/paired_verdict_text.h"
#include "page/html_text.h"
#include "page/page_frame.h"
#include "page/svg_shapes.h"
#include "page/table_cells.h"

namespace {

const size_t MaxNameCharacters = 80;
const size_t MaxMessageCharacters = 200;
const double PlotWidth = 360, PlotHeight = 220, Margin = 36;

std::string number(double value, int decimals) { return formatFixed(value, decimals); }

std::string sizeCell(int32_t size) { return numberCell(size < 0 ? "-" : intToStr(size)); }

std::string scoreText(const CaseResult& result) {
  return result.scored() ? result.exactScore().text(3) : "-";
}

// What the plots and the order of the table go by: the relative score where
// bests are known, the score otherwise.
double merit(const CaseResult& result, const BatchTotals& totals) {
  return totals.relative ? result.relative : result.score();
}

std::string totalsSection(const BatchTotals& totals) {
  std::string items = "<li>primerov: " + intToStr(static_cast<int64_t>(totals.cases)) +
                      ", ocenjenih: " + intToStr(static_cast<int64_t>(totals.scored)) +
                      ", neuspelih: " + intToStr(static_cast<int64_t>(totals.failed)) +
                      "</li>\n<li>povprecna ocena (neuspeli primeri stejejo 0): " +
                      totals.scoreMean.text(3) +
                      "</li>\n<li>povprecje ln(ocena): " + number(totals.logScoreMean, 3) +
                      "</li>\n";
  if (totals.relative)
    items += "<li>povprecna relativna ocena: <span id=\"relative-mean\">" +
             number(totals.relativeMean, 4) + "</span></li>\n";
  if (totals.compared)
    items += "<li>glede na prejsnje: boljsih " + intToStr(static_cast<int64_t>(totals.better)) +
             ", slabsih " + intToStr(static_cast<int64_t>(totals.worse)) + ", enakih " +
             intToStr(static_cast<int64_t>(totals.equal)) + ", na novo neuspelih " +
             intToStr(static_cast<int64_t>(totals.newlyFailing)) + ", na novo ocenjenih " +
             intToStr(static_cast<int64_t>(totals.newlyFixed)) + ", povprecna sprememba " +
             number(totals.changeMean, 3) + " (relativno " +
             number(totals.paired.meanRelativeChange, 4) + ")</li>\n<li id=\"verdict\">" +
             htmlText(pairedVerdictText(totals.paired)) + "</li>\n";
  return "<section id=\"totals\">\n<h2>Skupaj</h2>\n<ul class=\"messages\">\n" + items +
         "</ul>\n</section>\n";
}

// The link from the summary page to a case's explain page: its path
// relative to the summary's folder, each byte outside the few that need no
// escape in a URL written as %XX.
std::string linkTo(const std::string& target, const std::string& summaryPath) {
  namespace fs = std::filesystem;
  const fs::path from = fs::absolute(fs::u8path(summaryPath)).lexically_normal().parent_path();
  const fs::path to = fs::absolute(fs::u8path(target)).lexically_normal();
  const auto relative = to.lexically_relative(from).generic_u8string();
  std::string link;
  for (char c : relative) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) || std::strchr("-._~/", c) != nullptr) {
      link += c;
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned>(byte));
      link += escaped;
    }
  }
  return link;
}

// A case's name, linked to its explain page when it has one.
std::string nameOf(const CaseResult& result, const std::string& summaryPath) {
  const std::string name = shortHtmlText(result.name, MaxNameCharacters);
  if (result.pagePath.empty()) return name;
  return "<a href=\"" + linkTo(result.pagePath, summaryPath) + "\">" + name + "</a>";
}

std::string caseRow(const CaseResult& result, const BatchTotals& totals,
                    const std::string& summaryPath) {
  const CaseFeatures& f = result.features;
  std::string row = "<tr class=\"case\">" + cell(nameOf(result, summaryPath)) +
                    sizeCell(f.nMovies) + sizeCell(f.nViewers) + sizeCell(f.nSeats) +
                    sizeCell(f.nScreenings) + numberCell(scoreText(result));
  if (totals.relative)
    row += numberCell(result.hasBest ? number(result.best, 3) : "-") +
           numberCell(number(result.relative, 4));
  if (totals.compared)
    row += numberCell(result.hasChange() ? result.change().text(3) : "-");
  return row + cell(statusLabel(result.status)) + "</tr>\n";
}

std::string casesSection(std::vector<CaseResult> results, const BatchTotals& totals,
                         const std::string& summaryPath) {
  std::stable_sort(results.begin(), results.end(),
                   [&totals](const CaseResult& a, const CaseResult& b) {
                     return merit(a, totals) < merit(b, totals);
                   });
  std::string head = "<tr><th>primer</th><th class=\"n\">filmi</th><th class=\"n\">gledalci</th>"
                     "<th class=\"n\">sedezi</th><th class=\"n\">predstave</th>"
                     "<th class=\"n\">ocena</th>";
  if (totals.relative) head += "<th class=\"n\">najboljsa</th><th class=\"n\">relativno</th>";
  if (totals.compared) head += "<th class=\"n\">sprememba</th>";
  head += "<th>stanje</th></tr>\n";
  std::string rows;
  for (const CaseResult& result : results) rows += caseRow(result, totals, summaryPath);
  return "<section id=\"cases\">\n<h2>Primeri, najslabsi najprej</h2>\n<table>\n" + head +
         rows + "</table>\n</section>\n";
}

// A point of a scatter plot: where it stands and what its title says.
struct Point {
  double x, y;
  std::string title;
  std::string link;  // empty when the case has no explain page
};

std::string scatterSvg(const std::string& label, const std::vector<Point>& points,
                       bool logScale) {
  double xLow = 0, xHigh = 1, yHigh = 0;
  bool first = true;
  auto xOf = [logScale](double x) { return logScale ? std::log10(std::max(x, 1.0)) : x; };
  for (const Point& p : points) {
    const double x = xOf(p.x);
    if (first) xLow = xHigh = x;
    xLow = std::min(xLow, x);
    xHigh = std::max(xHigh, x);
    yHigh = std::max(yHigh, p.y);
    first = false;
  }
  if (xHigh <= xLow) xHigh = xLow + 1;
  if (yHigh <= 0) yHigh = 1;
  std::string out = "<svg class=\"scatter\" width=\"" + number(PlotWidth + 2 * Margin, 0) +
                    "\" height=\"" + number(PlotHeight + 2 * Margin, 0) +
                    "\" role=\"img\" aria-label=\"" + label + "\">\n";
  out += svgRectStart("grid", Margin, Margin, PlotWidth, PlotHeight, "none", 0) + "/>\n";
  out += svgText(Margin, Margin - 8, "", label + (logScale ? " (log)" : ""), 0) + "\n";
  // The ends of both axes.
  const auto text = [](double x, double y, const char* anchor, const std::string& content) {
    return svgText(x, y, anchor, content, 0) + "\n";
  };
  const auto axisValue = [logScale](double x) {
    return number(logScale ? std::pow(10.0, x) : x, 0);
  };
  out += text(Margin - 4, Margin + 4, "end", number(yHigh, yHigh < 10 ? 2 : 0));
  out += text(Margin - 4, Margin + PlotHeight, "end", "0");
  out += text(Margin, Margin + PlotHeight + 14, "start", axisValue(xLow));
  out += text(Margin + PlotWidth, Margin + PlotHeight + 14, "end", axisValue(xHigh));
  for (const Point& p : points) {
    const double cx = Margin + (xOf(p.x) - xLow) / (xHigh - xLow) * PlotWidth;
    const double cy = Margin + PlotHeight - p.y / yHigh * PlotHeight;
    const std::string circle = "<circle class=\"point\" cx=\"" + number(cx, 1) + "\" cy=\"" +
                               number(cy, 1) +
                               "\" r=\"4\" fill=\"#3b6fd4\" fill-opacity=\"0.7\"><title>" +
                               p.title + "</title></circle>";
    out += (p.link.empty() ? circle : "<a href=\"" + p.link + "\">" + circle + "</a>") + "\n";
  }
  return out + "</svg>\n";
}

struct Feature {
  const char* label;
  bool logScale;
  std::function<double(const CaseFeatures&)> value;  // < 0 when unknown
};

std::string plotsSection(const std::vector<CaseResult>& results, const BatchTotals& totals,
                         const std::string& summaryPath) {
  const std::vector<Feature> features = {
      {"filmi", true, [](const CaseFeatures& f) { return double(f.nMovies); }},
      {"gledalci", true, [](const CaseFeatures& f) { return double(f.nViewers); }},
      {"sedezi", false, [](const CaseFeatures& f) { return double(f.nSeats); }},
      {"gledalci na sedez", true,
       [](const CaseFeatures& f) {
         return f.nSeats > 0 && f.nViewers >= 0 ? double(f.nViewers) / f.nSeats : -1.0;
       }},
      {"predstave", false, [](const CaseFeatures& f) { return double(f.nScreenings); }}};
  std::string out = "<section id=\"plots\">\n<h2>" +
                    std::string(totals.relative ? "Relativna ocena" : "Ocena") +
                    " glede na velikost primera</h2>\n";
  for (const Feature& feature : features) {
    std::vector<Point> points;
    for (const CaseResult& result : results) {
      const double x = feature.value(result.features);
      if (x < 0) continue;
      points.push_back({x, merit(result, totals),
                        shortHtmlText(result.name, MaxNameCharacters) + ": " + number(x, 1) +
                            ", " + number(merit(result, totals), 4),
                        result.pagePath.empty() ? "" : linkTo(result.pagePath, summaryPath)});
    }
    out += scatterSvg(feature.label, points, feature.logScale);
  }
  return out + "</section>\n";
}

std::string changesSection(const std::vector<CaseResult>& results) {
  double largest = 0;
  for (const CaseResult& result : results)
    if (result.hasChange()) largest = std::max(largest, std::fabs(result.change().value()));
  if (largest <= 0) largest = 1;
  const double barWidth = std::max(2.0, PlotWidth / std::max<size_t>(results.size(), 1));
  std::string bars;
  for (size_t i = 0; i < results.size(); ++i) {
    if (!results[i].hasChange()) continue;
    const double change = results[i].change().value();
    const double height = std::fabs(change) / largest * PlotHeight / 2;
    const double top = Margin + PlotHeight / 2 - (change > 0 ? height : 0);
    bars += svgRectStart("change", Margin + i * barWidth, top, barWidth * 0.8,
                         std::max(height, 0.5), change >= 0 ? "#1a7f37" : "#c62828",
                         1) +
            "><title>" + shortHtmlText(results[i].name, MaxNameCharacters) + ": " +
            results[i].change().text(3) + "</title></rect>\n";
  }
  return "<section id=\"changes\">\n<h2>Sprememba po primerih</h2>\n<svg width=\"" +
         number(Margin * 2 + barWidth * results.size(), 0) + "\" height=\"" +
         number(PlotHeight + 2 * Margin, 0) + "\" role=\"img\" aria-label=\"sprememba\">\n" +
         bars + "</svg>\n</section>\n";
}

std::string failuresSection(const std::vector<CaseResult>& results) {
  std::string items;
  for (const CaseResult& result : results) {
    if (result.scored()) continue;
    items += "<li class=\"failure\"><b>" + shortHtmlText(result.name, MaxNameCharacters) +
             "</b>: " + statusLabel(result.status) +
             (result.message.empty()
                  ? ""
                  : " &middot; " + shortHtmlText(result.message, MaxMessageCharacters)) +
             "</li>\n";
  }
  if (items.empty()) return "";
  return "<section id=\"failures\">\n<h2>Neuspeli primeri</h2>\n<ul class=\"messages\">\n" +
         items + "</ul>\n</section>\n";
}

}  // namespace

std::string renderSummaryPage(const std::vector<CaseResult>& results,
                              const BatchTotals& totals, const std::string& pagePath,
                              const PageContext&) {
  std::string page = pageStart("Skedomat: rezultati", "Skedomat: rezultati");
  page += totalsSection(totals);
  page += plotsSection(results, totals, pagePath);
  if (totals.compared) page += changesSection(results);
  page += failuresSection(results);
  page += casesSection(results, totals, pagePath);
  return page + pageEnd();
}
