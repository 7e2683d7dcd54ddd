#include "page/svg_shapes.h"

#include "base/number_format.h"

namespace {

std::string attribute(const char* name, const std::string& value) {
  return std::string(" ") + name + "=\"" + value + "\"";
}

}  // namespace

std::string svgRectStart(const std::string& cssClass, double x, double y,
                         double width, double height, const std::string& fill,
                         int decimals) {
  return "<rect" + (cssClass.empty() ? "" : attribute("class", cssClass)) +
         attribute("x", formatFixed(x, decimals)) + attribute("y", formatFixed(y, decimals)) +
         attribute("width", formatFixed(width, decimals)) +
         attribute("height", formatFixed(height, decimals)) + attribute("fill", fill);
}

std::string svgText(double x, double y, const std::string& anchor,
                    const std::string& content, int decimals) {
  return "<text" + attribute("x", formatFixed(x, decimals)) +
         attribute("y", formatFixed(y, decimals)) +
         (anchor.empty() ? "" : attribute("text-anchor", anchor)) + ">" + content +
         "</text>";
}
