#ifndef SKEDOMAT_DRIVER_REPORT_H
#define SKEDOMAT_DRIVER_REPORT_H

#include <cstdint>
#include <string>

class EAssertion;
class OutputFile;
class RunStatistics;

// The four forms of the report. Each error form ends in the line "-1".
// The lines that tell the forms apart, shared with the report's reader.
extern const char SuccessHeading[];          // "OK"
extern const char TicketsLinePrefix[];       // the per-run counts follow it
extern const char CheckFailurePrefix[];      // "Napaka [file:line]: ..."
extern const char UnexpectedErrorLine[];     // the unexpected-error form's first line
extern const char FailureScore[];            // "-1", the last line of a failure

// "OK", the run count, the CPU time, the per-run counts, the statistics and
// the score as the last line.
void writeSuccessReport(OutputFile& report, int32_t nSimulacij,
                        int64_t elapsedTicks, const RunStatistics& statistics);

// The schedule was read but is not admissible: the heading, validation's
// messages as it writes them (each ending in a line end), then the ending.
extern const char InvalidSubmissionHeading[];
extern const char InvalidSubmissionEnding[];

// A check failed or the submission file has a form error.
void writeCheckFailure(OutputFile& report, const EAssertion& failure);

// Any other failure.
void writeUnexpectedError(OutputFile& report);

// The texts of the two failure forms, final "-1" line included.
std::string checkFailureText(const EAssertion& failure);
std::string unexpectedErrorText();

#endif  // SKEDOMAT_DRIVER_REPORT_H
