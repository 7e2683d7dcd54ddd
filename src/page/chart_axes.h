#ifndef SKEDOMAT_PAGE_CHART_AXES_H
#define SKEDOMAT_PAGE_CHART_AXES_H

#include <cstddef>
#include <string>
#include <vector>

// The axes of the pages' SVG charts: each has a range, a few ticks at round
// values with their labels, and a title, so that a reader can tell what is
// plotted and read a value off the chart. Positions are in the axis' own
// units: the value itself on a linear axis, its log10 on a logarithmic one.

// Where the plotting area lies in the SVG, in pixels.
struct ChartFrame {
  double left, top, width, height;
};

struct AxisTick {
  double at;
  std::string label;  // HTML
};

struct ChartAxis {
  double low = 0, high = 1;
  std::vector<AxisTick> ticks;
  std::string title;  // HTML
};

// From `low` to `high` widened to the nearest multiples of a step of 1, 2 or
// 5 times a power of ten, chosen so that there are at most `most` + 1 ticks.
// Labels are value * `scale` with as many decimals as the step needs,
// followed by `unit` ("%" with a scale of 100 for percentages).
ChartAxis linearAxis(double low, double high, size_t most, const std::string& title,
                     double scale = 1, const std::string& unit = "");

// Values from `low` to `high`, both above 0, on a log10 scale, widened to
// the nearest ticks: 1, 2 and 5 times each power of ten over a range of a
// few powers, the powers alone over a wider one.
ChartAxis logAxis(double low, double high, const std::string& title);

double xPixel(const ChartFrame& frame, const ChartAxis& axis, double at);
double yPixel(const ChartFrame& frame, const ChartAxis& axis, double at);

// The frame, a grid line and a label at each tick of both axes, and their
// titles: the x axis' below, the y axis' turned along the left side.
std::string svgAxes(const ChartFrame& frame, const ChartAxis& x, const ChartAxis& y);

#endif  // SKEDOMAT_PAGE_CHART_AXES_H
