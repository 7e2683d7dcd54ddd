#include "batch/report_reading.h"

#include <cctype>
#include <cstdlib>

#include "base/input_file.h"

namespace {

// The report's texts, Windows-1250 ("\x8A" is S with caron).
const char CountsPrefix[] =
    "\x8Atevilo prodanih kart v posameznih simulacijah:";
const char InvalidHeading[] = "V oddani datoteki so napake.";
const char CheckFailurePrefix[] = "Napaka [";
const char UnexpectedHeading[] = "Nepricakovana napaka.";

// InputFile takes a CR before the LF as part of the line end. Reports are a
// few dozen lines, except the problems of an invalid
// schedule: only the first line, the counts and the last line matter.
// A failure's message is cut here: a table shows its start.
const size_t MaxMessageLength = 300;

struct ReportLines {
  std::string first;
  std::string second;
  std::string counts;  // after the prefix
  std::string last;
  bool hasCounts = false;
};

bool startsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

bool readLines(const std::string& path, ReportLines& lines) {
  InputFile file(path);
  std::string line;
  bool any = false;
  while (file.getline(line)) {
    if (!any) lines.first = line;
    if (any && lines.second.empty()) lines.second = line;
    any = true;
    if (!lines.hasCounts && startsWith(line, CountsPrefix)) {
      lines.counts = line.substr(std::char_traits<char>::length(CountsPrefix));
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

// The counts line: blank-separated non-negative integers.
bool parseCounts(const std::string& text, std::vector<int64_t>& runs) {
  const char* position = text.c_str();
  for (;;) {
    while (*position == ' ') ++position;
    if (*position == '\0') return !runs.empty();
    if (!std::isdigit(static_cast<unsigned char>(*position))) return false;
    char* end = nullptr;
    runs.push_back(std::strtoll(position, &end, 10));
    position = end;
  }
}

CaseStatus formOf(const std::string& first) {
  if (first == "OK") return CaseStatus::Ok;
  if (first == InvalidHeading) return CaseStatus::Invalid;
  if (startsWith(first, CheckFailurePrefix)) return CaseStatus::CheckFailure;
  if (first == UnexpectedHeading) return CaseStatus::UnexpectedError;
  return CaseStatus::NoReport;
}

}  // namespace

CaseStatus readReport(const std::string& path, int32_t expectedRuns,
                      std::vector<int64_t>& runs, std::string& message) {
  runs.clear();
  message.clear();
  ReportLines lines;
  if (!readLines(path, lines)) return CaseStatus::NoReport;
  const CaseStatus form = formOf(lines.first);
  if (form != CaseStatus::Ok) {
    if (lines.last != "-1") return CaseStatus::NoReport;
    // An invalid schedule's first problem stands under the heading.
    message = (form == CaseStatus::Invalid ? lines.second : lines.first)
                  .substr(0, MaxMessageLength);
    return form;
  }
  if (!isNumber(lines.last) || lines.last == "-1" || !lines.hasCounts ||
      !parseCounts(lines.counts, runs) ||
      runs.size() != static_cast<size_t>(expectedRuns)) {
    runs.clear();
    return CaseStatus::NoReport;
  }
  return CaseStatus::Ok;
}
