#include "page/scatter_plot.h"

#include "base/number_format.h"
#include "page/svg_shapes.h"

namespace {

const ChartFrame Frame = {64, 28, 340, 200};
const double Width = 420, Height = 276;

std::string circle(const ChartFrame& frame, const ChartAxis& x, const ChartAxis& y,
                   const ScatterPoint& point, const std::string& pointClass) {
  const std::string shape =
      "<circle class=\"" + pointClass + "\" cx=\"" +
      formatFixed(xPixel(frame, x, point.x), 1) + "\" cy=\"" +
      formatFixed(yPixel(frame, y, point.y), 1) +
      "\" r=\"4\" fill=\"#3b6fd4\" fill-opacity=\"0.7\"><title>" + point.title +
      "</title></circle>";
  return (point.link.empty() ? shape : "<a href=\"" + point.link + "\">" + shape + "</a>") +
         "\n";
}

}  // namespace

std::string svgScatter(const std::string& caption, const ChartAxis& x, const ChartAxis& y,
                       const std::vector<ScatterPoint>& points, const std::string& pointClass) {
  std::string out = "<svg class=\"scatter\" width=\"" + formatFixed(Width, 0) +
                    "\" height=\"" + formatFixed(Height, 0) + "\" role=\"img\" aria-label=\"" +
                    caption + "\">\n";
  out += svgText(Frame.left, Frame.top - 10, "", "<tspan class=\"caption\">" + caption +
                 "</tspan>", 0) + "\n";
  out += svgAxes(Frame, x, y);
  for (const ScatterPoint& point : points) out += circle(Frame, x, y, point, pointClass);
  return out + "</svg>\n";
}
