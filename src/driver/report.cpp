#include "driver/report.h"

#include "base/assertion.h"
#include "base/number_format.h"
#include "base/output_file.h"
#include "driver/run_statistics.h"

const char SuccessHeading[] = "OK";
const char TicketsLinePrefix[] =
    "\x8A" "tevilo prodanih kart v posameznih simulacijah:";
const char CheckFailurePrefix[] = "Napaka [";
const char UnexpectedErrorLine[] =
    "Nepricakovana napaka.  Predlagamo, da obvestis organizatorje tekmovanja.";
const char FailureScore[] = "-1";

const char InvalidSubmissionHeading[] = "V oddani datoteki so napake.\n";
const char InvalidSubmissionEnding[] = "\n-1\n";

std::string checkFailureText(const EAssertion& failure) {
  return CheckFailurePrefix + failure.file + ":" + intToStr(failure.line) + "]: " +
         failure.message + "\n" + FailureScore + "\n";
}

std::string unexpectedErrorText() {
  return std::string(UnexpectedErrorLine) + "\n" + FailureScore + "\n";
}

void writeCheckFailure(OutputFile& report, const EAssertion& failure) {
  report.write(checkFailureText(failure));
}

void writeUnexpectedError(OutputFile& report) {
  report.write(unexpectedErrorText());
}

// The success report. Its texts are Windows-1250 bytes: 0x8A is the capital
// S with caron, 0xC8 the capital C with caron, 0x9A and 0xE8 the small s and
// c with caron. Each escape ends its own string literal so that the letters
// after it are not read as further hex digits.

namespace {

// The CPU-time line: the seconds of all runs and of one run on average.
std::string timeLine(int32_t nSimulacij, int64_t elapsedTicks) {
  double totalSeconds = static_cast<double>(elapsedTicks) * 1e-7;
  double secondsPerRun = totalSeconds / nSimulacij;
  return "\xC8" "as izvajanja: " + formatFixed(totalSeconds, 3) + " s (" +
         formatFixed(secondsPerRun, 3) + " s na simulacijo)\n";
}

// The ticket counts of the runs, in run order.
std::string ticketsLine(const RunStatistics& statistics) {
  std::string line = TicketsLinePrefix;
  for (int32_t nTickets : statistics.ticketsPerRun())
    line += " " + intToStr(nTickets);
  return line + "\n";
}

}  // namespace

void writeSuccessReport(OutputFile& report, int32_t nSimulacij,
                        int64_t elapsedTicks, const RunStatistics& statistics) {
  Assert(nSimulacij >= 1);
  Assert(statistics.ticketsPerRun().size() == static_cast<size_t>(nSimulacij));
  report.write(std::string(SuccessHeading) + "\n");
  report.write("\x8A" "tevilo simulacij: " + intToStr(nSimulacij) + "\n");
  report.write(timeLine(nSimulacij, elapsedTicks));
  report.write(ticketsLine(statistics));
  report.write("Najslab\x9A" "i rezultat: " + intToStr(statistics.worst()) +
               "\n");
  report.write("Najbolj\x9A" "i rezultat: " + intToStr(statistics.best()) +
               "\n");
  report.write("Povpre\xE8" "je in standardna deviacija: " +
               formatFixed(statistics.mean(), 2) + " +/- " +
               formatFixed(statistics.deviation(), 2) + "\n");
  report.write("Mediana: " + formatFixed(statistics.median(), 0) + "\n");
  report.write(formatGeneral(statistics.mean()) + "\n");
}
