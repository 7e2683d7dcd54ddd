#include "generate/generate_command.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/assertion.h"
#include "base/output_delivery.h"
#include "base/output_file.h"
#include "generate/baseline_schedule.h"
#include "generate/case_generator.h"
#include "testcase/test_case.h"

namespace {

// Seeds of one `--seeds` range at most: a folder of this many cases is
// already more than any batch needs.
const uint64_t MaxSeedsAtOnce = 100000;

struct GenerateArguments {
  bool range = false;
  uint64_t firstSeed = 0;
  uint64_t lastSeed = 0;
  std::string path;  // the file, or the folder of a range
  CaseParameters parameters;
};

int usageError(const char* usage) {
  std::fputs(usage, stdout);
  return ExitUsage;
}

// A decimal number of digits alone, nothing before or after them.
bool parseUnsigned(const std::string& text, uint64_t& value) {
  if (text.empty() || text.size() > 19) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  return true;
}

bool parseCount(const std::string& text, int32_t least, int32_t& value) {
  uint64_t number = 0;
  if (!parseUnsigned(text, number) || number > 1000000000 ||
      number < static_cast<uint64_t>(least))
    return false;
  value = static_cast<int32_t>(number);
  return true;
}

bool parseSeedRange(const std::string& text, uint64_t& first, uint64_t& last) {
  const size_t dash = text.find('-');
  return dash != std::string::npos && parseUnsigned(text.substr(0, dash), first) &&
         parseUnsigned(text.substr(dash + 1), last) && first <= last &&
         last - first < MaxSeedsAtOnce;
}

// Takes one `--name VALUE` option; false when it is unknown or its value bad.
bool parseOption(const std::string& name, const std::string& value,
                 GenerateArguments& parsed) {
  CaseParameters& p = parsed.parameters;
  if (name == "--films") return parseCount(value, 0, p.nMovies);
  if (name == "--viewers") return parseCount(value, 1, p.nViewers);
  if (name == "--seats") return parseCount(value, 1, p.nSeats);
  if (name == "--case") return parseCount(value, 0, p.caseNo);
  if (name == "--seeds") {
    parsed.range = true;
    return parseSeedRange(value, parsed.firstSeed, parsed.lastSeed);
  }
  if (name == "--dir") {
    parsed.path = value;
    return !value.empty();
  }
  return false;
}

bool parseGenerateArguments(const std::vector<std::string>& words,
                            GenerateArguments& parsed) {
  std::vector<std::string> positional;
  for (size_t i = 0; i < words.size(); ++i) {
    if (words[i].compare(0, 2, "--") != 0) {
      positional.push_back(words[i]);
      continue;
    }
    if (i + 1 >= words.size() || !parseOption(words[i], words[i + 1], parsed))
      return false;
    ++i;
  }
  if (parsed.range) return positional.empty() && !parsed.path.empty();
  if (positional.size() != 2 || !parsed.path.empty()) return false;
  parsed.path = positional[1];
  return parseUnsigned(positional[0], parsed.firstSeed) && !parsed.path.empty();
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
  if (arguments.size() < 2 ||
      !parseGenerateArguments(
          std::vector<std::string>(arguments.begin() + 2, arguments.end()), parsed))
    return usageError(generateUsage());
  if (parsed.range) return generateRange(parsed);
  return writeCase(parsed.path, parsed.firstSeed, parsed.parameters);
}

int runBaseline(const std::vector<std::string>& arguments) {
  if (arguments.size() != 4) return usageError(baselineUsage());
  const std::string& testCasePath = arguments[2];
  const std::string& submissionPath = arguments[3];
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
