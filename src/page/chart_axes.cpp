#include "page/chart_axes.h"

#include <algorithm>
#include <cmath>

#include "base/number_format.h"
#include "page/svg_shapes.h"

namespace {

// The smallest of 1, 2 and 5 times a power of ten that is at least `raw`.
double roundStep(double raw) {
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double factor : {1.0, 2.0, 5.0})
    if (factor * power >= raw * (1 - 1e-9)) return factor * power;
  return 10 * power;
}

// Enough decimals to tell ticks `step` apart.
int decimalsFor(double step) {
  return std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
}

// A tick value's label on a logarithmic axis.
std::string logLabel(double value) {
  return formatFixed(value, value >= 1 ? 0 : decimalsFor(value));
}

std::string line(double x1, double y1, double x2, double y2, const char* cssClass) {
  return "<line class=\"" + std::string(cssClass) + "\" x1=\"" + formatFixed(x1, 1) +
         "\" y1=\"" + formatFixed(y1, 1) + "\" x2=\"" + formatFixed(x2, 1) + "\" y2=\"" +
         formatFixed(y2, 1) + "\"/>\n";
}

}  // namespace

ChartAxis linearAxis(double low, double high, size_t most, const std::string& title,
                     double scale, const std::string& unit) {
  if (!(high > low)) high = low + 1;
  const double step = roundStep((high - low) / static_cast<double>(std::max<size_t>(most, 1)));
  const double first = std::floor(low / step + 1e-9), last = std::ceil(high / step - 1e-9);
  ChartAxis axis;
  axis.low = first * step;
  axis.high = last * step;
  axis.title = title;
  const int decimals = decimalsFor(step * scale);
  for (double i = first; i <= last + 0.5; ++i) {
    const double at = i * step;
    axis.ticks.push_back({at, formatFixed(at * scale, decimals) + unit});
  }
  return axis;
}

ChartAxis logAxis(double low, double high, const std::string& title) {
  const int lowPower = static_cast<int>(std::floor(std::log10(low)));
  const int highPower = std::max(static_cast<int>(std::ceil(std::log10(high))), lowPower + 1);
  std::vector<double> factors = {1.0};
  if (highPower - lowPower <= 3) factors = {1.0, 2.0, 5.0};
  std::vector<double> candidates;
  for (int power = lowPower; power <= highPower; ++power)
    for (double factor : factors) candidates.push_back(factor * std::pow(10.0, power));
  double from = candidates.front(), to = candidates.back();
  for (double value : candidates)
    if (value <= low * (1 + 1e-9)) from = value;
  for (auto value = candidates.rbegin(); value != candidates.rend(); ++value)
    if (*value >= high * (1 - 1e-9)) to = *value;
  ChartAxis axis;
  axis.low = std::log10(from);
  axis.high = std::log10(to);
  if (!(axis.high > axis.low)) axis.high = axis.low + 1;
  axis.title = title;
  for (double value : candidates)
    if (value >= from && value <= to) axis.ticks.push_back({std::log10(value), logLabel(value)});
  return axis;
}

double xPixel(const ChartFrame& frame, const ChartAxis& axis, double at) {
  return frame.left + (at - axis.low) / (axis.high - axis.low) * frame.width;
}

double yPixel(const ChartFrame& frame, const ChartAxis& axis, double at) {
  return frame.top + frame.height - (at - axis.low) / (axis.high - axis.low) * frame.height;
}

std::string svgAxes(const ChartFrame& frame, const ChartAxis& x, const ChartAxis& y) {
  const double bottom = frame.top + frame.height, right = frame.left + frame.width;
  std::string out;
  for (const AxisTick& tick : y.ticks) {
    const double at = yPixel(frame, y, tick.at);
    out += line(frame.left, at, right, at, "grid");
    out += svgText(frame.left - 5, at + 4, "end", tick.label, 1) + "\n";
  }
  for (const AxisTick& tick : x.ticks) {
    const double at = xPixel(frame, x, tick.at);
    out += line(at, frame.top, at, bottom, "grid");
    out += svgText(at, bottom + 14, "middle", tick.label, 1) + "\n";
  }
  out += svgRectStart("frame", frame.left, frame.top, frame.width, frame.height, "none", 1) +
         "/>\n";
  out += "<text class=\"axis-title\" x=\"" + formatFixed(frame.left + frame.width / 2, 1) +
         "\" y=\"" + formatFixed(bottom + 32, 1) + "\" text-anchor=\"middle\">" + x.title +
         "</text>\n";
  const double middle = frame.top + frame.height / 2, side = frame.left - 44;
  out += "<text class=\"axis-title\" x=\"" + formatFixed(side, 1) + "\" y=\"" +
         formatFixed(middle, 1) + "\" text-anchor=\"middle\" transform=\"rotate(-90 " +
         formatFixed(side, 1) + " " + formatFixed(middle, 1) + ")\">" + y.title + "</text>\n";
  return out;
}
