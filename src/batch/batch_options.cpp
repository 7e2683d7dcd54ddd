#include "batch/batch_options.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "base/command_options.h"
#include "base/process.h"

namespace {

// A decimal number from 1 to `limit`, digits only.
bool parseCount(const std::string& text, int64_t limit, int64_t& value) {
  uint64_t number = 0;
  if (!parseUnsigned(text, number) || number < 1 || number > static_cast<uint64_t>(limit))
    return false;
  value = static_cast<int64_t>(number);
  return true;
}

// "K/N" with 1 <= K <= N.
bool parseShard(const std::string& text, int64_t& index, int64_t& count) {
  const size_t slash = text.find('/');
  return slash != std::string::npos && parseCount(text.substr(slash + 1), 1000000, count) &&
         parseCount(text.substr(0, slash), count, index);
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

// A value that is a count from 1 to `limit`.
template <typename Count>
std::function<std::string(const std::string&)> countInto(int64_t limit, Count& target) {
  return [limit, &target](const std::string& value) {
    int64_t count = 0;
    if (!parseCount(value, limit, count))
      return "dovoljeno je celo stevilo od 1 do " + std::to_string(limit);
    target = static_cast<Count>(count);
    return std::string();
  };
}

std::function<std::string(const std::string&)> nonEmptyInto(std::string& target) {
  return [&target](const std::string& value) {
    target = value;
    return value.empty() ? std::string("ukaz ne sme biti prazen") : std::string();
  };
}

std::function<std::string(const std::string&)> flagInto(bool& target) {
  return [&target](const std::string&) {
    target = true;
    return std::string();
  };
}

std::vector<CommandOption> runOptionTable(RunOptions& options) {
  auto shard = [&options](const std::string& value) {
    return parseShard(value, options.shardIndex, options.shardCount)
               ? std::string()
               : std::string("dovoljeno je K/N s celima steviloma 1 <= K <= N <= 1000000");
  };
  auto seconds = [&options](const std::string& value) {
    return parseSeconds(value, options.timeLimitSeconds)
               ? std::string()
               : std::string("dovoljene so sekunde nad 0 in do 1000000, npr. 2 ali 0.5");
  };
  return {{"--runs", true, countInto(INT32_MAX, options.runs)},
          {"--jobs", true, countInto(MaxJobs, options.jobs)},
          {"--reports", true, takePath(options.reportsFolder)},
          {"--results", true, takePath(options.resultsPath)},
          {"--best", true, takePath(options.bestPath)},
          {"--freeze-best", false, flagInto(options.freezeBest)},
          {"--compare", true, takePath(options.comparePath)},
          {"--shard", true, shard},
          {"--html", true, takePath(options.htmlPath)},
          {"--explain", true, takePath(options.explainFolder)},
          {"--solve", true, nonEmptyInto(options.solveCommand)},
          {"--time-limit", true, seconds},
          {"--history", true, takePath(options.historyFolder)}};
}

std::string wrongCount(const char* what, size_t expected, const std::vector<std::string>& words) {
  if (words.size() > expected) return extraWordReason(words[expected]);
  return std::string(what) + " manjka";
}

}  // namespace

std::string parseRunOptions(const std::vector<std::string>& words, RunOptions& options) {
  std::vector<std::string> folders;
  std::string reason = takeCommandOptions(words, runOptionTable(options), folders);
  if (!reason.empty()) return reason;
  if (folders.size() != 2)
    return wrongCount(folders.empty() ? "mapa s primeri (CASES_DIR)"
                                      : "mapa z oddajami (SUBMISSIONS_DIR)",
                      2, folders);
  if (options.freezeBest && options.bestPath.empty())
    return "moznost \"--freeze-best\" potrebuje \"--best\"";
  if (options.timeLimitSeconds > 0 && options.solveCommand.empty())
    return "moznost \"--time-limit\" potrebuje \"--solve\"";
  if (options.comparePath == CompareWithLast && options.historyFolder.empty())
    return "\"--compare last\" potrebuje \"--history\"";
  options.casesFolder = folders[0];
  options.submissionsFolder = folders[1];
  return std::string();
}

std::string parseMergeOptions(const std::vector<std::string>& words, MergeOptions& options) {
  std::vector<std::string> paths;
  const std::string reason = takeCommandOptions(words, {}, paths);
  if (!reason.empty()) return reason;
  if (paths.size() < 2)
    return paths.empty() ? "datoteka za zdruzene rezultate manjka"
                         : "manjka vsaj ena datoteka z rezultati za zdruzitev";
  for (const std::string& path : paths)
    if (path.empty()) return "vrednost ne sme biti prazna";
  options.outputPath = paths[0];
  options.inputPaths.assign(paths.begin() + 1, paths.end());
  return std::string();
}

std::string parsePageOptions(const std::vector<std::string>& words, PageOptions& options) {
  std::vector<std::string> paths;
  const std::string reason =
      takeCommandOptions(words, {{"--compare", true, takePath(options.comparePath)}}, paths);
  if (!reason.empty()) return reason;
  if (paths.size() != 2)
    return wrongCount(paths.empty() ? "stran (PAGE.html)" : "datoteka z rezultati", 2, paths);
  for (const std::string& path : paths)
    if (path.empty()) return "vrednost ne sme biti prazna";
  options.pagePath = paths[0];
  options.resultsPath = paths[1];
  return std::string();
}

int jobsToRun(const RunOptions& options) {
  return options.jobs > 0 ? options.jobs : std::min(platform::hardwareThreads(), MaxJobs);
}

const char* batchUsage() {
  return "Uporaba: Skedomat batch CASES_DIR SUBMISSIONS_DIR [--runs n] [--jobs N]\n"
         "                        [--reports DIR] [--results FILE.jsonl]\n"
         "                        [--best FILE.json] [--freeze-best]\n"
         "                        [--compare OLD.jsonl] [--shard K/N] [--html PAGE.html]\n"
         "                        [--explain DIR] [--solve 'UKAZ'] [--time-limit SEKUNDE]\n"
         "                        [--history DIR] (z njo --compare last)\n"
         "        Skedomat batch --history DIR\n"
         "        Skedomat batch --merge OUT.jsonl IN1.jsonl IN2.jsonl ...\n"
         "        Skedomat batch --page PAGE.html RESULTS.jsonl [--compare OLD.jsonl]\n"
         "Oceni vsak CASES_DIR/IME.txt z oddajo SUBMISSIONS_DIR/IME.txt.\n"
         "[Privzeto: 3 simulacije, toliko hkratnih ocen kot niti procesorja (najvec 64).]\n"
         "--solve pred oceno pozene resevalca v lupini: {in} je primer, {out} oddaja,\n"
         "{seed} stevilka primera; brez {in} in {out} bere primer na standardnem vhodu\n"
         "in pise oddajo na standardni izhod.\n";
}
