#include "case_runner.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

#include "spawn.h"

namespace fs = std::filesystem;

namespace {

const char* const DefaultArguments = "eval input.txt submission.txt report.txt";
const std::string CpuTimeLabel = "\xC8" "as izvajanja: ";

bool isCaseDirectory(const fs::path& directory) {
  for (const fs::directory_entry& entry : fs::directory_iterator(directory))
    if (entry.is_regular_file()) return true;
  return false;
}

// Copies what is below `from` into the existing folder `to`, file by file:
// MinGW's standard library refuses whole-folder copies on Windows, where it
// takes any two paths on one drive for the same file.
void copyFolder(const fs::path& from, const fs::path& to) {
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(from)) {
    fs::path target = to / fs::relative(entry.path(), from);
    if (entry.is_directory()) {
      fs::create_directories(target);
    } else {
      fs::copy_file(entry.path(), target);
    }
  }
}

std::string normaliseLine(const std::string& line) {
  if (line.compare(0, 8, "Napaka [") == 0) {
    size_t close = line.find("]: ");
    if (close != std::string::npos) return "Napaka [FILE:LINE" + line.substr(close);
  }
  if (line.compare(0, CpuTimeLabel.size(), CpuTimeLabel) == 0) {
    static const std::regex figures(
        "[0-9]+\\.[0-9]{3} s \\([0-9]+\\.[0-9]{3} s na simulacijo\\)");
    std::string rest = line.substr(CpuTimeLabel.size());
    if (!std::regex_match(rest, figures)) return line + " <malformed CPU time>";
    return CpuTimeLabel + "T s (T s na simulacijo)";
  }
  return line;
}

}  // namespace

std::vector<std::string> findCases(const std::string& dataDirectory) {
  std::vector<std::string> cases;
  for (const fs::directory_entry& entry :
       fs::recursive_directory_iterator(dataDirectory)) {
    if (entry.is_directory() && isCaseDirectory(entry.path()))
      cases.push_back(fs::relative(entry.path(), dataDirectory).generic_string());
  }
  std::sort(cases.begin(), cases.end());
  return cases;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in),
                     std::istreambuf_iterator<char>());
}

std::vector<std::string> caseArguments(const std::string& caseDirectory) {
  fs::path argsPath = fs::path(caseDirectory) / "args";
  std::string line = fs::exists(argsPath) ? readFile(argsPath.string()) : DefaultArguments;
  // Blanks separate the arguments; double quotes keep blanks inside one.
  std::vector<std::string> arguments;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if (!quoted && std::isspace(static_cast<unsigned char>(c))) {
      if (inWord) arguments.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) arguments.push_back(word);
  return arguments;
}

CaseOutcome runCase(const std::string& skedomat, const std::string& caseDirectory,
                    const std::string& workDirectory) {
  fs::remove_all(workDirectory);
  fs::create_directories(workDirectory);
  copyFolder(caseDirectory, workDirectory);

  std::vector<std::string> arguments = caseArguments(caseDirectory);
  fs::path work(workDirectory);
  fs::path stdoutPath = work / ".stdout";
  fs::path stderrPath = work / ".stderr";
  CaseOutcome outcome;
  outcome.status = runProgram(fs::absolute(skedomat).string(), arguments,
                              work.string(), stdoutPath.string(),
                              stderrPath.string());
  outcome.standardOutput = readFile(stdoutPath.string());
  outcome.standardError = readFile(stderrPath.string());
  if (arguments.size() >= 4) {
    fs::path reportPath = work / arguments[3];
    outcome.reportExists = fs::exists(reportPath);
    outcome.report = readFile(reportPath.string());
  }
  return outcome;
}

std::string normaliseReport(const std::string& report, const std::string& lineEnd) {
  std::string result;
  size_t begin = 0;
  while (begin < report.size()) {
    size_t end = report.find(lineEnd, begin);
    if (end == std::string::npos) {
      result += normaliseLine(report.substr(begin));
      break;
    }
    result += normaliseLine(report.substr(begin, end - begin)) + "\n";
    begin = end + lineEnd.size();
  }
  return result;
}

double reportedCpuSeconds(const std::string& report) {
  size_t label = report.find(CpuTimeLabel);
  if (label == std::string::npos) return -1;
  return std::strtod(report.c_str() + label + CpuTimeLabel.size(), nullptr);
}

size_t countOccurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

std::string withLineEnds(const std::string& text, const std::string& lineEnd) {
  std::string result;
  for (char c : text) {
    if (c == '\n') {
      result += lineEnd;
    } else {
      result += c;
    }
  }
  return result;
}
