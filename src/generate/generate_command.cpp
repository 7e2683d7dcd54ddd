#include "generate/generate_command.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <system_error>

#include "base/assertion.h"
#include "base/command_options.h"
#include "base/output_delivery.h"
#include "base/output_file.h"
#include "base/platform.h"
#include "base/usage_error.h"
#include "generate/baseline_schedule.h"
#include "generate/case_generator.h"
#include "testcase/test_case.h"

namespace {

// Seeds of one `--seeds` range at most: a folder of this many cases is
// already more than any batch needs.
const uint64_t MaxSeedsAtOnce = 100000;

// The largest values of the options. Viewers make most of a file, about 43
// bytes each, so the largest case is some 430 MB, written as it is made;
// seats and the case number are one number in the file each.
const int32_t MaxFilms = 100000;
const int32_t MaxViewers = 10000000;
const int32_t MaxSeats = 1000000000;
const int32_t MaxCaseNo = 1000000000;

struct GenerateArguments {
  bool range = false;
  uint64_t firstSeed = 0;
  uint64_t lastSeed = 0;
  std::string path;  // the file, or the folder of a range
  CaseParameters parameters;
};

std::string allowedNumbers(uint64_t least, uint64_t most) {
  return "dovoljeno je celo stevilo od " + std::to_string(least) + " do " +
         std::to_string(most);
}

// A CommandOption::take for a count from `least` to `most`.
std::function<std::string(const std::string&)> takeCount(int32_t least, int32_t most,
                                                         int32_t& target) {
  return [least, most, &target](const std::string& value) {
    uint64_t number = 0;
    if (!parseUnsigned(value, number) || number < static_cast<uint64_t>(least) ||
        number > static_cast<uint64_t>(most))
      return allowedNumbers(least, most);
    target = static_cast<int32_t>(number);
    return std::string();
  };
}

bool parseSeedRange(const std::string& text, uint64_t& first, uint64_t& last) {
  const size_t dash = text.find('-');
  return dash != std::string::npos && parseUnsigned(text.substr(0, dash), first) &&
         parseUnsigned(text.substr(dash + 1), last) && first <= last &&
         last - first < MaxSeedsAtOnce;
}

std::vector<CommandOption> generateOptions(GenerateArguments& parsed) {
  CaseParameters& p = parsed.parameters;
  return {
      {"--films", true, takeCount(0, MaxFilms, p.nMovies)},
      {"--viewers", true, takeCount(1, MaxViewers, p.nViewers)},
      {"--seats", true, takeCount(1, MaxSeats, p.nSeats)},
      {"--case", true, takeCount(0, MaxCaseNo, p.caseNo)},
      {"--seeds", true,
       [&parsed](const std::string& value) {
         parsed.range = true;
         return parseSeedRange(value, parsed.firstSeed, parsed.lastSeed)
                    ? std::string()
                    : "dovoljeno je OD-DO s celima steviloma OD <= DO, najvec " +
                          std::to_string(MaxSeedsAtOnce) + " semen";
       }},
      {"--dir", true, takePath(parsed.path)},
  };
}

// The reason when `positional` is not SEED and the file to write.
std::string takeSeedAndFile(const std::vector<std::string>& positional,
                            GenerateArguments& parsed) {
  if (positional.empty()) return "manjka seme (SEED)";
  if (positional.size() == 1) return "manjka datoteka za testni primer";
  if (positional.size() > 2) return extraWordReason(positional[2]);
  if (!parseUnsigned(positional[0], parsed.firstSeed))
    return "seme " + quotedWord(positional[0]) + ": " +
           allowedNumbers(0, 9999999999999999999u);
  parsed.path = positional[1];
  return parsed.path.empty() ? "pot ne sme biti prazna" : std::string();
}

std::string parseGenerateArguments(const std::vector<std::string>& words,
                                   GenerateArguments& parsed) {
  std::vector<std::string> positional;
  const std::string reason = takeCommandOptions(words, generateOptions(parsed), positional);
  if (!reason.empty()) return reason;
  if (!parsed.range) {
    if (!parsed.path.empty()) return "moznost \"--dir\" potrebuje \"--seeds\"";
    return takeSeedAndFile(positional, parsed);
  }
  if (!positional.empty()) return extraWordReason(positional[0]);
  if (parsed.path.empty()) return "moznost \"--seeds\" potrebuje \"--dir\"";
  return std::string();
}

// Writes `text` whole to `path`, or not at all.
int writeWhole(const std::string& path, const std::string& text,
               const std::vector<std::string>& inputs, const std::string& what) {
  OutputFile file;
  int status = openOutputFile(inputs, path, what, file, OutputFile::LineEnds::Lf);
  if (status != ExitReportWritten) return status;
  file.write(text);
  return deliverOutputFile(path, file);
}

// Writes the test case of `seed` whole to `path` as it is made, or not at all.
int writeCase(const std::string& path, uint64_t seed, const CaseParameters& parameters) {
  OutputFile file;
  int status = openOutputFile({}, path, "testni primer", file, OutputFile::LineEnds::Lf);
  if (status != ExitReportWritten) return status;
  generateTestCase(seed, parameters, [&file](const std::string& piece) { file.write(piece); });
  return deliverOutputFile(path, file);
}

// "0007", "0123", "12345": four digits at least, as seed runners name cases.
std::string caseFileName(uint64_t seed) {
  std::string digits = std::to_string(seed);
  if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
  return digits + ".txt";
}

int generateRange(const GenerateArguments& parsed) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::u8path(parsed.path), error);
  if (error)
    return outputNotWritten("mape \"" + parsed.path + "\" ni mogoce ustvariti: " +
                            error.message());
  for (uint64_t seed = parsed.firstSeed; seed <= parsed.lastSeed; ++seed) {
    const std::string path = parsed.path + "/" + caseFileName(seed);
    int status = writeCase(path, seed, parsed.parameters);
    if (status != ExitReportWritten) return status;
  }
  return ExitReportWritten;
}

// The reason when `words` are not the test case and the submission to write.
std::string parseBaselineArguments(const std::vector<std::string>& words,
                                   std::vector<std::string>& paths) {
  const std::string reason = takeCommandOptions(words, {}, paths);
  if (!reason.empty()) return reason;
  if (paths.empty()) return "manjka datoteka s testnim primerom";
  if (paths.size() == 1) return "manjka datoteka za oddajo";
  if (paths.size() > 2) return extraWordReason(paths[2]);
  return paths[0].empty() || paths[1].empty() ? "pot ne sme biti prazna" : std::string();
}

}  // namespace

const char* generateUsage() {
  return "Uporaba: Skedomat generate SEED input.txt [--films N] [--viewers N] "
         "[--seats N] [--case N]\n"
         "        Skedomat generate --seeds OD-DO --dir MAPA [--films N] "
         "[--viewers N] [--seats N] [--case N]\n";
}

const char* baselineUsage() {
  return "Uporaba: Skedomat baseline input.txt submission.txt\n";
}

int runGenerate(const std::vector<std::string>& arguments) {
  GenerateArguments parsed;
  const std::string reason = parseGenerateArguments(
      std::vector<std::string>(arguments.begin() + 2, arguments.end()), parsed);
  if (!reason.empty()) return usageError(reason, generateUsage());
  if (parsed.range) return generateRange(parsed);
  return writeCase(parsed.path, parsed.firstSeed, parsed.parameters);
}

int runBaseline(const std::vector<std::string>& arguments) {
  std::vector<std::string> paths;
  const std::string reason = parseBaselineArguments(
      std::vector<std::string>(arguments.begin() + 2, arguments.end()), paths);
  if (!reason.empty()) return usageError(reason, baselineUsage());
  const std::string& testCasePath = paths[0];
  const std::string& submissionPath = paths[1];
  const std::string problem = platform::inputProblem(testCasePath);
  if (!problem.empty())
    return outputNotWritten("testnega primera \"" + testCasePath +
                            "\" ni mogoce brati: " + problem);
  TestCase testCase;
  try {
    testCase.read(testCasePath);
  } catch (const EAssertion& failure) {
    return outputNotWritten("testnega primera \"" + testCasePath +
                            "\" ni mogoce prebrati: " + failure.message);
  } catch (...) {
    return outputNotWritten("testnega primera \"" + testCasePath +
                            "\" ni mogoce prebrati.");
  }
  return writeWhole(submissionPath, baselineSchedule(testCase), {testCasePath},
                    "oddajo");
}
