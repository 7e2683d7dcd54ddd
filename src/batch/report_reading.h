#ifndef SKEDOMAT_BATCH_REPORT_READING_H
#define SKEDOMAT_BATCH_REPORT_READING_H

#include <cstdint>
#include <string>
#include <vector>

#include "batch/case_result.h"

// Reads back a report that `eval` wrote: its form from the first line and,
// for a scored schedule, the per-run ticket counts. A report that cannot be
// read, whose last line is neither a number nor "-1", or whose counts do not
// match the runs asked for is garbled, and counts as no report. Either line
// end is accepted. For a failure form, `message` gets the start of its first
// message line.
CaseStatus readReport(const std::string& path, int32_t expectedRuns,
                      std::vector<int64_t>& runs, std::string& message);

#endif  // SKEDOMAT_BATCH_REPORT_READING_H
