#ifndef SKEDOMAT_EXPLAIN_EXPLAIN_CHARTS_H
#define SKEDOMAT_EXPLAIN_EXPLAIN_CHARTS_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The inline SVG charts of the explain page. Each returns one <svg> element.

// The colour of a share 0..1 (of seats filled, or of a maximum), from dark
// violet through teal to yellow; shares outside 0..1 are clamped.
std::string shareColour(double share);

// A horizontal bar of the colour scale from 0 to 1, labelled.
std::string colourScaleSvg(const std::string& lowLabel,
                           const std::string& highLabel);

// Tickets per day of the year (366 values) as a calendar: one row per month.
// `tooltip` gives the text shown for a day.
std::string yearHeatmapSvg(const std::vector<double>& ticketsPerDay,
                           const std::function<std::string(int32_t)>& tooltip);

// One bar of the schedule's timeline, in minutes of the year.
struct TimelineBar {
  int64_t start = 0;
  int64_t end = 0;
  double share = 0;      // colour: tickets per seat, 0..1; below 0: unknown
  double opacity = 1;    // of an aggregated cell: the share of its hour in use
  bool marked = false;   // named by a validation message
  int32_t screening = -1;  // index of the screening shown; -1 for aggregates
};

// Day of the year across, time of day down; a bar that passes midnight goes
// on at the top of the next day, and one that fills whole days is one
// rectangle across them. `tooltip` gives the text of a screening's
// bar; aggregated bars get none.
std::string timelineSvg(const std::vector<TimelineBar>& bars,
                        const std::function<std::string(int32_t)>& tooltip);

// The bars of many screenings folded into one cell per day and hour: its
// colour the minute-weighted mean share (shares above 1 count as 1), its
// opacity the part of the hour in use; a cell holding a marked bar is
// marked, one holding a bar of unknown share is unknown. Takes time in the
// number of bars plus the number of cells, however long the bars are, and
// memory in the number of cells: the bars are added one by one.
class HourlyTimeline {
 public:
  HourlyTimeline();
  void add(const TimelineBar& bar);
  // The cells in use or marked, in time order; a cell's screening is -1.
  std::vector<TimelineBar> cells() const;

 private:
  // Counts of the bars that fill a cell whole, as changes from the cell
  // before; their shares in steps of 2^-32.
  struct WholeCells {
    int64_t bars = 0, shareSteps = 0, marked = 0, unknown = 0;
  };
  std::vector<int64_t> minutes_;   // of the partly filled first and last cells
  std::vector<double> weighted_;   // their minutes times share
  std::vector<bool> marked_, unknown_;
  std::vector<WholeCells> change_;
  size_t nBars_ = 0;
};

// The cells of `bars` added to an HourlyTimeline in turn.
std::vector<TimelineBar> aggregatePerHour(const std::vector<TimelineBar>& bars);

// Tickets per screening for each hour of the day at which screenings start.
std::string hourChartSvg(const std::vector<double>& ticketsByHour,
                         const std::vector<int64_t>& screeningsByHour);

#endif  // SKEDOMAT_EXPLAIN_EXPLAIN_CHARTS_H
