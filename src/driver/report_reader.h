#ifndef SKEDOMAT_DRIVER_REPORT_READER_H
#define SKEDOMAT_DRIVER_REPORT_READER_H

#include <cstdint>
#include <string>
#include <vector>

// Reads back a report that `eval` wrote, by the texts its writer writes:
// the form from the first line and, for a scored schedule, the per-run
// ticket counts. A report that cannot be read, whose last line is not what
// its form ends in, or whose counts do not match the runs asked for is
// garbled. Either line end is accepted.
enum class ReportForm { Success, InvalidSubmission, CheckFailure, UnexpectedError, Garbled };

struct ReportReading {
  ReportForm form = ReportForm::Garbled;
  std::vector<int64_t> runs;  // the tickets sold per run, of a success
  // A failure form's first message line, cut at MaxReportMessageLength
  // bytes; why a garbled report is garbled.
  std::string message;
};

const size_t MaxReportMessageLength = 300;

ReportReading readReport(const std::string& path, int32_t expectedRuns);

#endif  // SKEDOMAT_DRIVER_REPORT_READER_H
