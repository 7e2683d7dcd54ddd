#include "batch/batch_options.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "base/exit_status.h"
#include "base/process.h"

namespace {

// A decimal number from 1 to `limit`, digits only.
bool parseCount(const std::string& text, int64_t limit, int64_t& value) {
  if (text.empty() || text.size() > 10) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return value >= 1 && value <= limit;
}

// "K/N" with 1 <= K <= N.
bool parseShard(const std::string& text, BatchOptions& options) {
  const size_t slash = text.find('/');
  return slash != std::string::npos &&
         parseCount(text.substr(slash + 1), 1000000, options.shardCount) &&
         parseCount(text.substr(0, slash), options.shardCount, options.shardIndex);
}

// Seconds as decimal digits with an optional fraction ("2", "0.5"), above
// zero and at most a million.
bool parseSeconds(const std::string& text, double& seconds) {
  const size_t point = text.find('.');
  const std::string whole = text.substr(0, point);
  const std::string fraction = point == std::string::npos ? "0" : text.substr(point + 1);
  for (const std::string* digits : {&whole, &fraction})
    if (digits->empty() || digits->size() > 9 ||
        digits->find_first_not_of("0123456789") != std::string::npos)
      return false;
  seconds = std::strtod(text.c_str(), nullptr);
  return seconds > 0 && seconds <= 1e6;
}

bool takeOption(const std::string& name, const std::string& value,
                BatchOptions& options) {
  int64_t count = 0;
  if (name == "--runs" && parseCount(value, INT32_MAX, count)) {
    options.runs = static_cast<int32_t>(count);
  } else if (name == "--jobs" && parseCount(value, MaxJobs, count)) {
    options.jobs = static_cast<int>(count);
  } else if (name == "--reports" && !value.empty()) {
    options.reportsFolder = value;
  } else if (name == "--results" && !value.empty()) {
    options.resultsPath = value;
  } else if (name == "--best" && !value.empty()) {
    options.bestPath = value;
  } else if (name == "--compare" && !value.empty()) {
    options.comparePath = value;
  } else if (name == "--explain" && !value.empty()) {
    options.explainFolder = value;
  } else if (name == "--html" && !value.empty()) {
    options.htmlPath = value;
  } else if (name == "--shard") {
    return parseShard(value, options);
  } else if (name == "--solve" && !value.empty()) {
    options.solveCommand = value;
  } else if (name == "--time-limit" && parseSeconds(value, options.timeLimitSeconds)) {
  } else {
    return false;
  }
  return true;
}

}  // namespace

bool parseBatchOptions(const std::vector<std::string>& words, BatchOptions& options) {
  if (!words.empty() && words[0] == "--merge") {
    if (words.size() < 3 || words[1].empty()) return false;
    options.mergePath = words[1];
    options.mergeInputs.assign(words.begin() + 2, words.end());
    return true;
  }
  if (!words.empty() && words[0] == "--page") {
    if ((words.size() != 3 && words.size() != 5) || words[1].empty() || words[2].empty() ||
        (words.size() == 5 && (words[3] != "--compare" || words[4].empty())))
      return false;
    options.htmlPath = words[1];
    options.pageResultsPath = words[2];
    if (words.size() == 5) options.comparePath = words[4];
    return true;
  }
  std::vector<std::string> folders;
  for (size_t i = 0; i < words.size(); ++i) {
    if (words[i] == "--freeze-best") {
      options.freezeBest = true;
    } else if (words[i].compare(0, 2, "--") != 0) {
      folders.push_back(words[i]);
    } else if (i + 1 == words.size() || !takeOption(words[i], words[i + 1], options)) {
      return false;
    } else {
      ++i;
    }
  }
  if (folders.size() != 2 || (options.freezeBest && options.bestPath.empty())) return false;
  if (options.timeLimitSeconds > 0 && options.solveCommand.empty()) return false;
  options.casesFolder = folders[0];
  options.submissionsFolder = folders[1];
  return true;
}

int jobsToRun(const BatchOptions& options) {
  return options.jobs > 0 ? options.jobs : std::min(platform::hardwareThreads(), MaxJobs);
}

const char* batchUsage() {
  return "Uporaba: Skedomat batch CASES_DIR SUBMISSIONS_DIR [--runs n] [--jobs N]\n"
         "                        [--reports DIR] [--results FILE.jsonl]\n"
         "                        [--best FILE.json] [--freeze-best]\n"
         "                        [--compare OLD.jsonl] [--shard K/N] [--html PAGE.html]\n"
         "                        [--explain DIR]\n"
         "        Skedomat batch --merge OUT.jsonl IN1.jsonl IN2.jsonl ...\n"
         "        Skedomat batch --page PAGE.html RESULTS.jsonl [--compare OLD.jsonl]\n"
         "                        [--solve 'UKAZ'] [--time-limit SEKUNDE]\n"
         "Oceni vsak CASES_DIR/IME.txt z oddajo SUBMISSIONS_DIR/IME.txt.\n"
         "[Default: 3 simulacije, toliko hkratnih ocen kot niti procesorja (najvec 64).]\n"
         "--solve pred oceno pozene resevalca v lupini: {in} je primer, {out} oddaja,\n"
         "{seed} stevilka primera; brez {in} in {out} bere primer na standardnem vhodu\n"
         "in pise oddajo na standardni izhod.\n";
}

int batchUsageError() {
  std::fputs(batchUsage(), stdout);
  return ExitUsage;
}
