#ifndef SKEDOMAT_EXPLAIN_SCREENING_TABLE_H
#define SKEDOMAT_EXPLAIN_SCREENING_TABLE_H

#include <string>

class ScreeningStats;
struct Submission;

// The header row of the per-screening CSV table.
extern const char* const ScreeningTableHeader;

// The per-screening table as CSV: the header row, then one row per screening
// in file order with its number (from 1), film, day, start minute, end in
// minutes of the year, mean tickets, mean demand and sold-out runs.
std::string screeningTableCsv(const Submission& submission,
                              const ScreeningStats& stats);

#endif  // SKEDOMAT_EXPLAIN_SCREENING_TABLE_H
