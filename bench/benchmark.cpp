// The evaluator's benchmark: generates deterministic large cases, times the
// simulation runs on every choice-model path in this process, compares them
// with drawing the same number of outputs from the random source alone, runs
// the Skedomat program on the cases for its peak memory, and times the
// validation of a maximal schedule. Prints the tables on standard output.
//
//   skedomat_bench <path of the Skedomat program> <scratch folder>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "case_generator.h"
#include "driver/assertion.h"
#include "driver/cpu_timer.h"
#include "driver/input_file.h"
#include "simulation/choice_model_path.h"
#include "simulation/random_source.h"
#include "simulation/simulation.h"
#include "submission/submission.h"
#include "testcase/test_case.h"

namespace {

const int32_t Runs = 3;
const uint32_t FirstSeed = 123;

double secondsOf(const CpuTimer& timer) {
  return static_cast<double>(timer.elapsed()) * 1e-7;
}

// A generated case read back and validated as the evaluator does it.
struct LoadedCase {
  CaseShape shape;
  std::string testCasePath;
  std::string submissionPath;
  TestCase testCase;
  Submission submission;
  int64_t viewerScreenings() const {
    return int64_t(testCase.nViewers) *
           static_cast<int64_t>(submission.screenings.size()) * Runs;
  }
};

bool load(LoadedCase& loaded) {
  try {
    loaded.testCase.read(loaded.testCasePath);
    InputFile is(loaded.submissionPath);
    loaded.submission.read(is);
    std::ostringstream messages;
    if (loaded.submission.validate(loaded.testCase, messages)) return true;
    std::fprintf(stderr, "invalid schedule:\n%s", messages.str().c_str());
  } catch (const EAssertion& failure) {
    std::fprintf(stderr, "cannot read the case: %s\n", failure.message.c_str());
  }
  return false;
}

bool generate(const std::string& folder, const CaseShape& shape,
              LoadedCase& loaded) {
  const std::string name = folder + "/case" + std::to_string(shape.seed) + "_" +
                           std::to_string(shape.nViewers) + "x" +
                           std::to_string(shape.nScreenings);
  loaded.shape = shape;
  loaded.testCasePath = name + "_input.txt";
  loaded.submissionPath = name + "_submission.txt";
  if (!writeCase(shape, loaded.testCasePath, loaded.submissionPath)) {
    std::fprintf(stderr, "cannot write %s\n", loaded.testCasePath.c_str());
    return false;
  }
  return load(loaded);
}

// The runs of one evaluation and their user CPU time.
struct Timed {
  double seconds = 0;
  std::vector<int32_t> tickets;
};

Timed evaluate(const LoadedCase& loaded, ChoiceModelPath path) {
  Timed timed;
  CpuTimer timer;
  timer.start();
  for (int32_t i = 0; i < Runs; ++i) {
    RandomSource::seed(FirstSeed + static_cast<uint32_t>(i));
    Simulation simulation(loaded.testCase);
    simulation.choiceModelPath = path;
    simulation.run(loaded.submission);
    timed.tickets.push_back(simulation.nTicketsSold);
  }
  timer.stop();
  timed.seconds = secondsOf(timer);
  return timed;
}

// The fastest of repeated evaluations (the tickets are the same each time):
// at least `repeats`, and more until they add up to half a second, so that
// the coarse clock of a small case and the noise of a busy machine matter
// little.
Timed bestOf(int repeats, const LoadedCase& loaded, ChoiceModelPath path) {
  Timed best = evaluate(loaded, path);
  double total = best.seconds;
  for (int r = 1; r < repeats || (total < 0.5 && r < 200); ++r) {
    Timed timed = evaluate(loaded, path);
    total += timed.seconds;
    if (timed.seconds < best.seconds) best = timed;
  }
  return best;
}

volatile uint32_t drawSink;

// The time to draw `perRun` outputs after each of the runs' seeds, in the
// pieces the batched model takes them in; the fastest of several tries.
double drawOnlySeconds(int64_t perRun) {
  double best = 0;
  double total = 0;
  for (int repeat = 0; repeat < 3 || (total < 0.5 && repeat < 200); ++repeat) {
    CpuTimer timer;
    timer.start();
    uint32_t sum = 0;
    for (int32_t i = 0; i < Runs; ++i) {
      RandomSource::seed(FirstSeed + static_cast<uint32_t>(i));
      for (int64_t left = perRun; left > 0;) {
        const uint32_t* outputs = nullptr;
        const int32_t count = RandomSource::nextOutputs(
            static_cast<int32_t>(std::min<int64_t>(left, 1 << 30)), outputs);
        for (int32_t k = 0; k < count; ++k) sum += outputs[k];
        left -= count;
      }
    }
    timer.stop();
    drawSink = sum;
    const double seconds = secondsOf(timer);
    total += seconds;
    if (repeat == 0 || seconds < best) best = seconds;
  }
  return best;
}

// What the Skedomat program used on one evaluation.
struct ProcessUse {
  bool ok = false;
  double userSeconds = 0;
  double peakMiB = 0;
  std::string score;  // the report's last line
};

std::string lastLineOf(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return "";
  std::string text;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    text.append(buffer, n);
  std::fclose(file);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
    text.pop_back();
  return text.substr(text.find_last_of('\n') + 1);
}

ProcessUse runProgram(const std::string& program, const LoadedCase& loaded) {
  ProcessUse use;
  const std::string reportPath = loaded.testCasePath + ".report.txt";
  const pid_t child = fork();
  if (child < 0) return use;
  if (child == 0) {
    execl(program.c_str(), program.c_str(), "eval", loaded.testCasePath.c_str(),
          loaded.submissionPath.c_str(), reportPath.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  struct rusage usage;
  if (wait4(child, &status, 0, &usage) != child) return use;
  use.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  use.userSeconds = static_cast<double>(usage.ru_utime.tv_sec) +
                    static_cast<double>(usage.ru_utime.tv_usec) * 1e-6;
  use.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;  // KiB
  use.score = lastLineOf(reportPath);
  return use;
}

double nanosecondsPer(double seconds, int64_t count) {
  return seconds * 1e9 / static_cast<double>(count);
}

bool sameTickets(const Timed& a, const Timed& b, const char* name) {
  if (a.tickets == b.tickets) return true;
  std::printf("MISMATCH: the %s path sells other tickets than the reference\n",
              name);
  return false;
}

std::string ticketsText(const std::vector<int32_t>& tickets) {
  std::string text;
  for (int32_t n : tickets)
    text += (text.empty() ? "" : " ") + std::to_string(n);
  return text;
}

// The default large case on every path, the generator alone and the
// program's own run. False when a path differs from the reference.
bool benchmarkLargeCase(const std::string& program, const LoadedCase& loaded) {
  const int64_t count = loaded.viewerScreenings();
  std::printf(
      "Large case: %d viewers, %d screenings, %d films, %d seats, %d runs "
      "= %.3g viewer-screenings\n\n",
      loaded.testCase.nViewers,
      static_cast<int>(loaded.submission.screenings.size()),
      loaded.testCase.nMovies, loaded.testCase.nSeats, Runs,
      static_cast<double>(count));
  std::printf("  %-30s %10s %12s %14s\n", "path", "user s", "ns/viewer-scr",
              "tickets");
  const Timed reference = bestOf(1, loaded, ChoiceModelPath::Reference);
  std::printf("  %-30s %10.3f %12.3f %14s\n", "reference (scalar)",
              reference.seconds, nanosecondsPer(reference.seconds, count),
              ticketsText(reference.tickets).c_str());
  bool identical = true;
  Timed fastest = reference;
  for (ChoiceModelPath path : supportedChoiceModelPaths()) {
    if (path == ChoiceModelPath::Reference) continue;
    const Timed timed = bestOf(3, loaded, path);
    identical = sameTickets(timed, reference, nameOf(path)) && identical;
    std::printf("  %-30s %10.3f %12.3f %14s\n", nameOf(path), timed.seconds,
                nanosecondsPer(timed.seconds, count),
                ticketsText(timed.tickets).c_str());
    if (path == fastestChoiceModelPath()) fastest = timed;
  }
  const double drawSeconds = drawOnlySeconds(count / Runs);
  std::printf("  %-30s %10.3f %12.3f\n", "RandomSource alone, same outputs",
              drawSeconds, nanosecondsPer(drawSeconds, count));
  std::printf("\n  (a) evaluation (%s) / generator alone: %.2f\n",
              nameOf(fastestChoiceModelPath()), fastest.seconds / drawSeconds);
  std::printf("  (b) reference / fast path (%s):        %.2f\n",
              nameOf(fastestChoiceModelPath()),
              reference.seconds / fastest.seconds);
  const ProcessUse use = runProgram(program, loaded);
  std::printf(
      "  Skedomat eval on the case: %s, user %.3f s, peak memory %.1f MiB, "
      "score %s\n\n",
      use.ok ? "exit 0" : "FAILED", use.userSeconds, use.peakMiB,
      use.score.c_str());
  return identical && use.ok;
}

// The fast path over growing cases; the cost per viewer-screening should not
// grow with the size.
bool benchmarkScaling(const std::string& program, const std::string& folder) {
  const int32_t Viewers[5] = {1000, 4000, 12000, 20000, 56000};
  const int32_t Screenings[5] = {1000, 1800, 1800, 1800, 1800};
  std::printf("Scaling (%s path, %d runs each)\n\n",
              nameOf(fastestChoiceModelPath()), Runs);
  std::printf("  %8s %10s %16s %10s %12s %12s %12s\n", "viewers", "screenings",
              "viewer-scr", "user s", "ns/viewer-scr", "peak MiB", "program s");
  double lowest = 0;
  double highest = 0;
  bool ok = true;
  for (int k = 0; k < 5; ++k) {
    CaseShape shape;
    shape.seed = 100 + static_cast<uint64_t>(k);
    shape.nViewers = Viewers[k];
    shape.nScreenings = Screenings[k];
    shape.nSeats = Viewers[k] / 80;
    LoadedCase loaded;
    if (!generate(folder, shape, loaded)) return false;
    const Timed timed = bestOf(3, loaded, fastestChoiceModelPath());
    const double ns = nanosecondsPer(timed.seconds, loaded.viewerScreenings());
    const ProcessUse use = runProgram(program, loaded);
    ok = ok && use.ok;
    std::printf("  %8d %10d %16lld %10.3f %12.3f %12.1f %12.3f\n", Viewers[k],
                Screenings[k],
                static_cast<long long>(loaded.viewerScreenings()),
                timed.seconds, ns, use.peakMiB, use.userSeconds);
    lowest = k == 0 ? ns : std::min(lowest, ns);
    highest = k == 0 ? ns : std::max(highest, ns);
  }
  std::printf("\n  ns per viewer-screening, largest / smallest: %.2f\n\n",
              highest / lowest);
  return ok;
}

// Reading and validating the largest schedule a year can hold of a film of
// one minute (527040); 500000 screenings.
bool benchmarkValidation(const std::string& folder) {
  const int32_t NScreenings = 500000;
  LoadedCase loaded;
  loaded.testCasePath = folder + "/one_minute_input.txt";
  loaded.submissionPath = folder + "/one_minute_submission.txt";
  if (!writeOneMinuteCase(NScreenings, loaded.testCasePath,
                          loaded.submissionPath))
    return false;
  CpuTimer reading;
  CpuTimer validating;
  bool valid = false;
  try {
    loaded.testCase.read(loaded.testCasePath);
    reading.start();
    InputFile is(loaded.submissionPath);
    loaded.submission.read(is);
    reading.stop();
    std::ostringstream messages;
    validating.start();
    valid = loaded.submission.validate(loaded.testCase, messages);
    validating.stop();
  } catch (const EAssertion& failure) {
    std::fprintf(stderr, "%s\n", failure.message.c_str());
  }
  std::printf(
      "Schedule of %d one-minute screenings: reading %.3f s, validation %.3f "
      "s (%s)\n",
      NScreenings, secondsOf(reading), secondsOf(validating),
      valid ? "valid" : "INVALID");
  return valid;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: skedomat_bench <Skedomat program> <scratch folder>\n",
               stderr);
    return 1;
  }
  const std::string program = argv[1];
  const std::string folder = argv[2];
  mkdir(folder.c_str(), 0755);
  std::printf("Choice-model paths on this processor:");
  for (ChoiceModelPath path : supportedChoiceModelPaths())
    std::printf(" %s", nameOf(path));
  std::printf("; the evaluator uses %s.\n\n", nameOf(fastestChoiceModelPath()));

  LoadedCase large;
  bool ok = generate(folder, CaseShape(), large) &&
            benchmarkLargeCase(program, large);
  ok = benchmarkScaling(program, folder) && ok;
  ok = benchmarkValidation(folder) && ok;
  return ok ? 0 : 1;
}
