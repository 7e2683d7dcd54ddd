#include "explain/explain_charts.h"

#include <algorithm>
#include <cmath>

#include "base/assertion.h"
#include "base/calendar.h"
#include "base/number_format.h"
#include "explain/year_calendar.h"
#include "page/svg_shapes.h"
#include "submission/screening.h"

namespace {


// Timeline geometry, in pixels.
const double TimelineLeft = 44;
const double TimelineTop = 22;
const double DayWidth = 3;     // narrowest day, for a whole year
const double MaxDayWidth = 40;
const double PlotWidth = DaysPerYear * DayWidth;
const double MinuteHeight = 0.5;

const char* const UnknownColour = "#9aa5b1";
const char* const MarkedColour = "#e41a1c";
const char* const EmptyColour = "#eef0f3";


std::string number(double value) { return formatFixed(value, 1); }

struct Rgb {
  double r, g, b;
};

// Stops of the colour scale at 0, 1/4, 1/2, 3/4 and 1.
const Rgb ScaleStops[5] = {{68, 1, 84}, {59, 82, 139}, {33, 145, 140},
                           {94, 201, 98}, {253, 231, 37}};

std::string hexByte(double value) {
  const char* digits = "0123456789abcdef";
  int byte = static_cast<int>(std::lround(std::min(255.0, std::max(0.0, value))));
  return std::string(1, digits[byte >> 4]) + digits[byte & 15];
}

// The charts' shapes, drawn to a tenth of a pixel.
const int Decimals = 1;

std::string rect(double x, double y, double width, double height,
                 const std::string& fill, const std::string& extra) {
  return svgRectStart("", x, y, width, height, fill, Decimals) + extra;
}

std::string text(double x, double y, const std::string& anchor,
                 const std::string& content) {
  return svgText(x, y, anchor, content, Decimals);
}

std::string svgOpen(const std::string& cssClass, double width, double height,
                    const std::string& label) {
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"" + cssClass +
         "\" width=\"" + number(width) + "\" height=\"" + number(height) +
         "\" viewBox=\"0 0 " + number(width) + " " + number(height) +
         "\" role=\"img\" aria-label=\"" + label + "\">";
}

// Closes a shape, with a tooltip when `tooltip` is not empty.
std::string closeShape(const std::string& tooltip) {
  if (tooltip.empty()) return "/>";
  return "><title>" + tooltip + "</title></rect>";
}

std::string barColour(const TimelineBar& bar) {
  if (bar.marked) return MarkedColour;
  if (bar.share < 0) return UnknownColour;
  return shareColour(bar.share);
}

// The days that the timeline shows and how wide each one is drawn: the span
// of the schedule, so that a short schedule is not lost in a whole year.
struct DayScale {
  int64_t firstDay = 0;
  int64_t nDays = DaysPerYear;
  double dayWidth = 3;

  double x(int64_t day) const { return TimelineLeft + (day - firstDay) * dayWidth; }
  double width() const { return nDays * dayWidth; }
};

DayScale scaleFor(const std::vector<TimelineBar>& bars) {
  DayScale scale;
  if (bars.empty()) return scale;
  int64_t first = DaysPerYear - 1, last = 0;
  for (const TimelineBar& bar : bars) {
    first = std::min(first, bar.start / MinutesPerDay);
    last = std::max(last, (std::max(bar.end, bar.start + 1) - 1) / MinutesPerDay);
  }
  first = std::max<int64_t>(0, std::min<int64_t>(first, DaysPerYear - 1));
  last = std::max(first, std::min<int64_t>(last, DaysPerYear - 1));
  scale.firstDay = first;
  scale.nDays = last - first + 1;
  scale.dayWidth = std::min(MaxDayWidth, std::max(DayWidth, PlotWidth / scale.nDays));
  return scale;
}

// The rectangles of one bar: one for the day on which it starts and one for
// the day on which it ends, and one across all the days between them, which
// it fills from top to bottom (so that a bar costs the same however long).
std::string barRects(const TimelineBar& bar, const DayScale& scale,
                     const std::string& tooltip) {
  std::string out;
  const std::string fill = barColour(bar);
  std::string extra;
  if (bar.marked) {
    // Marked screenings often overlap each other: let both show.
    extra = " fill-opacity=\"0.6\" stroke=\"#a50f15\" stroke-width=\"0.5\"";
  } else if (bar.opacity < 1) {
    extra = " fill-opacity=\"" + formatFixed(bar.opacity, 2) + "\"";
  }
  const int64_t end =
      std::min(bar.end, (scale.firstDay + scale.nDays) * MinutesPerDay);
  const int64_t firstDay = std::max(scale.firstDay, bar.start / MinutesPerDay);
  if (end <= firstDay * MinutesPerDay) return out;
  const int64_t lastDay = (end - 1) / MinutesPerDay;
  const double width = std::max(1.0, scale.dayWidth * 0.8);
  auto dayRect = [&](int64_t day) {
    const int64_t from = std::max(bar.start, day * MinutesPerDay);
    const int64_t to = std::min(end, (day + 1) * MinutesPerDay);
    const double height = std::max(1.0, (to - from) * MinuteHeight);
    return rect(scale.x(day),
                TimelineTop + (from - day * MinutesPerDay) * MinuteHeight,
                width, height, fill, extra) + closeShape(tooltip);
  };
  out += dayRect(firstDay);
  if (lastDay - firstDay >= 2) {
    // Drawn as the rectangle of one day would be, only wider.
    out += rect(scale.x(firstDay + 1), TimelineTop,
                (lastDay - firstDay - 2) * scale.dayWidth + width,
                MinutesPerDay * MinuteHeight, fill, extra) +
           closeShape(tooltip);
  }
  if (lastDay > firstDay) out += dayRect(lastDay);
  return out;
}

std::string verticalLine(double x) {
  return "<line x1=\"" + number(x) + "\" y1=\"" + number(TimelineTop) +
         "\" x2=\"" + number(x) + "\" y2=\"" +
         number(TimelineTop + MinutesPerDay * MinuteHeight) +
         "\" class=\"grid\"/>";
}

// Day numbers along the top of a short span, months along a long one.
std::string dayLabels(const DayScale& scale) {
  std::string out;
  const double labelY = TimelineTop - 7;
  if (scale.nDays <= 62) {
    const int64_t step = scale.nDays <= 31 ? 1 : 2;
    for (int64_t day = scale.firstDay; day < scale.firstDay + scale.nDays; day += step) {
      out += verticalLine(scale.x(day));
      out += text(scale.x(day) + scale.dayWidth * step / 2, labelY, "middle",
                  intToStr(day));
    }
    return out;
  }
  int64_t monthStart = 0;
  for (int month = 0; month < MonthsPerYear; ++month) {
    const int64_t monthEnd = monthStart + monthLength(month);
    const int64_t from = std::max(monthStart, scale.firstDay);
    if (from < std::min(monthEnd, scale.firstDay + scale.nDays)) {
      out += verticalLine(scale.x(from));
      out += text(scale.x(from) + 2, labelY, "start", monthName(month));
    }
    monthStart = monthEnd;
  }
  return out;
}

std::string timelineAxes(const DayScale& scale) {
  std::string out = rect(TimelineLeft, TimelineTop, scale.width(),
                         MinutesPerDay * MinuteHeight, "#fbfbfd",
                         " stroke=\"#c8ccd2\"/>");
  for (int hour = 0; hour <= 24; hour += 3) {
    const double y = TimelineTop + hour * 60 * MinuteHeight;
    out += "<line x1=\"" + number(TimelineLeft) + "\" y1=\"" + number(y) +
           "\" x2=\"" + number(TimelineLeft + scale.width()) + "\" y2=\"" +
           number(y) + "\" class=\"grid\"/>";
    out += text(TimelineLeft - 6, y + 4, "end",
                (hour < 10 ? "0" : "") + intToStr(hour) + ":00");
  }
  return out + dayLabels(scale);
}

}  // namespace

std::string shareColour(double share) {
  if (!(share > 0)) share = 0;
  if (share > 1) share = 1;
  const double position = share * 4;
  const int low = std::min(3, static_cast<int>(position));
  const double t = position - low;
  const Rgb& a = ScaleStops[low];
  const Rgb& b = ScaleStops[low + 1];
  return "#" + hexByte(a.r + (b.r - a.r) * t) + hexByte(a.g + (b.g - a.g) * t) +
         hexByte(a.b + (b.b - a.b) * t);
}

std::string colourScaleSvg(const std::string& lowLabel,
                           const std::string& highLabel) {
  const double width = 260;
  std::string out = svgOpen("scale", width + 300, 26, "barvna lestvica");
  out += "<defs><linearGradient id=\"scale-gradient\">";
  for (int stop = 0; stop <= 4; ++stop)
    out += "<stop offset=\"" + formatFixed(stop * 0.25, 2) +
           "\" stop-color=\"" + shareColour(stop * 0.25) + "\"/>";
  out += "</linearGradient></defs>";
  out += text(0, 17, "start", lowLabel);
  out += rect(60, 4, width, 16, "url(#scale-gradient)", "/>");
  out += text(60 + width + 6, 17, "start", highLabel);
  return out + "</svg>";
}

std::string yearHeatmapSvg(const std::vector<double>& ticketsPerDay,
                           const std::function<std::string(int32_t)>& tooltip) {
  Assert(ticketsPerDay.size() == static_cast<size_t>(DaysPerYear));
  const double left = 36, top = 18, cellWidth = 24, cellHeight = 20;
  const double most =
      *std::max_element(ticketsPerDay.begin(), ticketsPerDay.end());
  std::string out = svgOpen("heatmap", left + 31 * cellWidth + 4,
                            top + 12 * cellHeight + 4, "karte po dnevih");
  for (int32_t dayOfMonth = 1; dayOfMonth <= 31; ++dayOfMonth)
    out += text(left + (dayOfMonth - 0.5) * cellWidth, top - 5, "middle",
                intToStr(dayOfMonth));
  int32_t day = 0;
  for (int month = 0; month < MonthsPerYear; ++month) {
    const double y = top + month * cellHeight;
    out += text(left - 6, y + cellHeight - 6, "end", monthName(month));
    for (int32_t d = 0; d < monthLength(month); ++d, ++day) {
      const double tickets = ticketsPerDay[day];
      const std::string fill =
          tickets > 0 && most > 0 ? shareColour(tickets / most) : EmptyColour;
      out += rect(left + d * cellWidth + 1, y + 1, cellWidth - 2,
                  cellHeight - 2, fill, "") +
             closeShape(tooltip(day));
    }
  }
  return out + "</svg>";
}

std::string timelineSvg(const std::vector<TimelineBar>& bars,
                        const std::function<std::string(int32_t)>& tooltip) {
  const DayScale scale = scaleFor(bars);
  const double width = TimelineLeft + scale.width() + 8;
  const double height = TimelineTop + MinutesPerDay * MinuteHeight + 8;
  std::string out = svgOpen("timeline", width, height, "casovnica sporeda");
  out += timelineAxes(scale);
  for (const TimelineBar& bar : bars)
    out += barRects(bar, scale,
                    bar.screening >= 0 ? tooltip(bar.screening) : "");
  return out + "</svg>";
}

// A bar's first and last cell may be partly in use and are summed directly,
// bar by bar. Every cell between them is wholly in use: those cells are
// counted in difference arrays (+1 where such a run starts, -1 after it
// ends) and summed once over the year, so that a bar costs the same whatever
// its length. The shares of whole cells are summed as integers, in steps of
// 2^-32 of a seat (a sum of under 2^31 bars fits 63 bits), so that the
// running sums are exact and order-free.

namespace {

const int64_t CellMinutes = 60;
const int64_t CellsPerYear = DaysPerYear * 24;
const double ShareSteps = 4294967296.0;  // 2^32

}  // namespace

HourlyTimeline::HourlyTimeline()
    : minutes_(CellsPerYear, 0),
      weighted_(CellsPerYear, 0),
      marked_(CellsPerYear, false),
      unknown_(CellsPerYear, false),
      change_(CellsPerYear) {}

void HourlyTimeline::add(const TimelineBar& bar) {
  Assert(nBars_ < (size_t(1) << 31) - 1);
  ++nBars_;
  const int64_t end = std::min(bar.end, CellsPerYear * CellMinutes);
  const int64_t first = std::max<int64_t>(0, bar.start) / CellMinutes;
  if (end <= first * CellMinutes) return;
  const int64_t last = (end - 1) / CellMinutes;
  // A share outside 0..1 would be drawn clamped; NaN as 0.
  const double share = bar.share < 0 ? bar.share
                       : bar.share > 1 ? 1.0
                       : bar.share >= 0 ? bar.share : 0.0;
  for (int64_t cell : {first, last}) {
    const int64_t from = std::max(bar.start, cell * CellMinutes);
    const int64_t to = std::min(end, (cell + 1) * CellMinutes);
    minutes_[cell] += to - from;
    weighted_[cell] += static_cast<double>(to - from) * share;
    if (bar.marked) marked_[cell] = true;
    if (share < 0) unknown_[cell] = true;
    if (last == first) break;
  }
  if (last - first < 2) return;
  const int64_t steps = share < 0 ? 0 : std::llround(share * ShareSteps);
  for (int64_t cell : {first + 1, last}) {
    const int64_t sign = cell == last ? -1 : 1;
    WholeCells& c = change_[cell];
    c.bars += sign;
    c.shareSteps += sign * steps;
    if (bar.marked) c.marked += sign;
    if (share < 0) c.unknown += sign;
  }
}

std::vector<TimelineBar> HourlyTimeline::cells() const {
  std::vector<TimelineBar> cells;
  WholeCells whole;
  for (int64_t cell = 0; cell < CellsPerYear; ++cell) {
    whole.bars += change_[cell].bars;
    whole.shareSteps += change_[cell].shareSteps;
    whole.marked += change_[cell].marked;
    whole.unknown += change_[cell].unknown;
    const int64_t used = minutes_[cell] + whole.bars * CellMinutes;
    const bool isMarked = marked_[cell] || whole.marked > 0;
    if (used == 0 && !isMarked) continue;
    const double sum =
        weighted_[cell] + static_cast<double>(CellMinutes) *
                              (static_cast<double>(whole.shareSteps) / ShareSteps);
    TimelineBar bar;
    bar.start = cell * CellMinutes;
    bar.end = bar.start + CellMinutes;
    bar.share = unknown_[cell] || whole.unknown > 0
                    ? -1 : sum / static_cast<double>(used);
    bar.opacity = std::max(0.25, static_cast<double>(used) / CellMinutes);
    bar.marked = isMarked;
    cells.push_back(bar);
  }
  return cells;
}

std::vector<TimelineBar> aggregatePerHour(const std::vector<TimelineBar>& bars) {
  HourlyTimeline timeline;
  for (const TimelineBar& bar : bars) timeline.add(bar);
  return timeline.cells();
}

std::string hourChartSvg(const std::vector<double>& ticketsByHour,
                         const std::vector<int64_t>& screeningsByHour) {
  Assert(ticketsByHour.size() == 24 && screeningsByHour.size() == 24);
  const double left = 8, top = 20, barSlot = 36, plotHeight = 150;
  const double most =
      *std::max_element(ticketsByHour.begin(), ticketsByHour.end());
  std::string out = svgOpen("hours", left + 24 * barSlot + 8,
                            top + plotHeight + 24, "karte na predstavo po urah");
  for (int hour = 0; hour < 24; ++hour) {
    const double x = left + hour * barSlot;
    const double value = ticketsByHour[hour];
    const double height = most > 0 ? value / most * plotHeight : 0;
    const std::string label = (hour < 10 ? "0" : "") + intToStr(hour);
    if (screeningsByHour[hour] > 0) {
      out += rect(x + 4, top + plotHeight - height, barSlot - 8,
                  std::max(1.0, height), shareColour(most > 0 ? value / most : 0),
                  "") +
             closeShape(label + ":00-" + label + ":59: " +
                        formatFixed(value, 2) + " kart na predstavo, " +
                        intToStr(screeningsByHour[hour]) + " predstav");
      out += text(x + barSlot / 2, top + plotHeight - height - 4, "middle",
                  formatFixed(value, 1));
    }
    out += text(x + barSlot / 2, top + plotHeight + 16, "middle", label);
  }
  return out + "</svg>";
}
