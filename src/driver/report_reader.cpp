#include "driver/report_reader.h"

#include <cctype>
#include <cstdlib>

#include "base/input_file.h"
#include "driver/report.h"

namespace {

// Only the first two lines, the counts and the last line matter: the
// problems of an invalid schedule may run to many lines.
struct ReportLines {
  std::string first;
  std::string second;
  std::string counts;  // after the prefix
  std::string last;
  bool hasCounts = false;
};

bool startsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool readLines(const std::string& path, ReportLines& lines) {
  InputFile file(path);
  std::string line;
  bool any = false;
  while (file.getline(line)) {
    if (!any) lines.first = line;
    if (any && lines.second.empty()) lines.second = line;
    any = true;
    if (!lines.hasCounts && startsWith(line, TicketsLinePrefix)) {
      lines.counts = line.substr(std::char_traits<char>::length(TicketsLinePrefix));
      lines.hasCounts = true;
    }
    lines.last = line;
  }
  return any && !file.lastLineCut();
}

// True when `text` is a decimal number and nothing else, as a report's last
// line is.
bool isNumber(const std::string& text) {
  if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
  char* end = nullptr;
  std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size();
}

// The counts line: blank-separated integers from 0 to 2^31 - 1.
bool parseCounts(const std::string& text, std::vector<int64_t>& runs) {
  const char* position = text.c_str();
  for (;;) {
    while (*position == ' ') ++position;
    if (*position == '\0') return !runs.empty();
    if (!std::isdigit(static_cast<unsigned char>(*position))) return false;
    char* end = nullptr;
    const long long count = std::strtoll(position, &end, 10);
    if (count > INT32_MAX) return false;
    runs.push_back(count);
    position = end;
  }
}

std::string lineOf(const char* text) {
  std::string line = text;
  if (!line.empty() && line.back() == '\n') line.pop_back();
  return line;
}

ReportForm formOf(const std::string& first) {
  if (first == SuccessHeading) return ReportForm::Success;
  if (first == lineOf(InvalidSubmissionHeading)) return ReportForm::InvalidSubmission;
  if (startsWith(first, CheckFailurePrefix)) return ReportForm::CheckFailure;
  if (first == UnexpectedErrorLine) return ReportForm::UnexpectedError;
  return ReportForm::Garbled;
}

ReportReading garbled(const std::string& why) {
  ReportReading reading;
  reading.message = why;
  return reading;
}

}  // namespace

ReportReading readReport(const std::string& path, int32_t expectedRuns) {
  ReportLines lines;
  if (!readLines(path, lines)) return garbled("porocila ni ali ga ni mogoce brati");
  const ReportForm form = formOf(lines.first);
  if (form == ReportForm::Garbled) return garbled("porocilo ima neznano prvo vrstico");
  ReportReading reading;
  reading.form = form;
  if (form != ReportForm::Success) {
    if (lines.last != FailureScore) return garbled("porocilo je nepopolno");
    // An invalid schedule's first problem stands under the heading.
    reading.message = (form == ReportForm::InvalidSubmission ? lines.second : lines.first)
                          .substr(0, MaxReportMessageLength);
    return reading;
  }
  if (!isNumber(lines.last) || lines.last == FailureScore || !lines.hasCounts ||
      !parseCounts(lines.counts, reading.runs) ||
      reading.runs.size() != static_cast<size_t>(expectedRuns))
    return garbled("porocilo nima stevil kart vseh simulacij");
  return reading;
}
