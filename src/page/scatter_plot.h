#ifndef SKEDOMAT_PAGE_SCATTER_PLOT_H
#define SKEDOMAT_PAGE_SCATTER_PLOT_H

#include <string>
#include <vector>

#include "page/chart_axes.h"

// A scatter plot as inline SVG: a point per case on labelled axes, each
// point titled (shown when the pointer rests on it) and, when it has one,
// linked to the case's own page.

struct ScatterPoint {
  double x, y;        // in the axes' units (log10 of the value on a log axis)
  std::string title;  // HTML
  std::string link;   // an href already escaped; empty for no link
};

// `caption` (HTML) names what is plotted against what; each circle has the
// class `pointClass`.
std::string svgScatter(const std::string& caption, const ChartAxis& x, const ChartAxis& y,
                       const std::vector<ScatterPoint>& points, const std::string& pointClass);

#endif  // SKEDOMAT_PAGE_SCATTER_PLOT_H
