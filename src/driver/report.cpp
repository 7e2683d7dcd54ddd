#include "driver/report.h"

#include "driver/assertion.h"
#include "driver/report_file.h"

const char InvalidSubmissionHeading[] = "V oddani datoteki so napake.\n";
const char InvalidSubmissionEnding[] = "\n-1\n";

std::string checkFailureText(const EAssertion& failure) {
  return "Napaka [" + failure.file + ":" + intToStr(failure.line) + "]: " +
         failure.message + "\n-1\n";
}

std::string unexpectedErrorText() {
  return "Nepricakovana napaka.  Predlagamo, da obvestis organizatorje "
         "tekmovanja.\n-1\n";
}

void writeCheckFailure(ReportFile& report, const EAssertion& failure) {
  report.write(checkFailureText(failure));
}

void writeUnexpectedError(ReportFile& report) {
  report.write(unexpectedErrorText());
}
