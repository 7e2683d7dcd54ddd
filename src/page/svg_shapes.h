#ifndef SKEDOMAT_PAGE_SVG_SHAPES_H
#define SKEDOMAT_PAGE_SVG_SHAPES_H

#include <string>

// The shapes the pages draw their inline SVG charts with. Coordinates are
// written with `decimals` decimals; text and fill are HTML already.

// The start of a rectangle: "<rect", its class when `cssClass` is not
// empty, its place, size and fill. The caller adds more attributes and
// closes it, with "/>" or with a title and "</rect>".
std::string svgRectStart(const std::string& cssClass, double x, double y,
                         double width, double height, const std::string& fill,
                         int decimals);

// A whole text element at (x, y); its text-anchor attribute only when
// `anchor` is not empty.
std::string svgText(double x, double y, const std::string& anchor,
                    const std::string& content, int decimals);

#endif  // SKEDOMAT_PAGE_SVG_SHAPES_H
