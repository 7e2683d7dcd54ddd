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

#include "base/assertion.h"
#include "base/cpu_timer.h"
#include "base/input_file.h"
#include "case_generator.h"
#include "simulation/fast/choice_model_path.h"
#include "simulation/random_source.h"
#include "simulation/simulation.h"
#include "submission/problem_sink.h"
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
    ProblemLineWriter problems(messages);
    if (loaded.submission.validate(loaded.testCase, problems)) return true;
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
// at least `repeats`, and more until they add up to MinimumSeconds, so that
// the coarse clock of a small case and the noise of a busy machine matter
// little. On a shared machine a slow spell can last a second or more, so
// the repeats span a few seconds.
const double MinimumSeconds = 2.0;

Timed bestOf(int repeats, const LoadedCase& loaded, ChoiceModelPath path) {
  Timed best = evaluate(loaded, path);
  double total = best.seconds;
  for (int r = 1; r < repeats || (total < MinimumSeconds && r < 200); ++r) {
    Timed timed = evaluate(loaded, path);
    total += timed.seconds;
    if (timed.seconds < best.seconds) best = timed;
  }
  return best;
}

volatile uint32_t drawSink;

// The time to draw `perRun` outputs after each of the runs' seeds, in the
// pieces the batched model takes them in.
double drawOnce(int64_t perRun) {
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
  return secondsOf(timer);
}

// The fastest of several tries of drawOnce.
double drawOnlySeconds(int64_t perRun) {
  double best = drawOnce(perRun);
  double total = best;
  for (int repeat = 1; repeat < 3 || (total < MinimumSeconds && repeat < 200);
       ++repeat) {
    const double seconds = drawOnce(perRun);
    total += seconds;
    best = std::min(best, seconds);
  }
  return best;
}

// A ratio of two timings taken in alternation, round after round, so that
// the machine's changes of speed (by a third and more on a shared one, for
// seconds at a time) fall on both alike: the median of the rounds' ratios
// and the quartiles around it.
struct PairedRatio {
  double median = 0;
  double lowQuartile = 0;
  double highQuartile = 0;
};

template <typename Numerator, typename Denominator>
PairedRatio pairedRatio(int rounds, Numerator numerator,
                        Denominator denominator) {
  std::vector<double> ratios;
  for (int round = 0; round < rounds; ++round) {
    // Each goes first in every other round.
    double top = 0;
    double bottom = 0;
    if (round % 2 == 0) {
      top = numerator();
      bottom = denominator();
    } else {
      bottom = denominator();
      top = numerator();
    }
    ratios.push_back(top / bottom);
  }
  std::sort(ratios.begin(), ratios.end());
  PairedRatio ratio;
  ratio.median = ratios[ratios.size() / 2];
  ratio.lowQuartile = ratios[ratios.size() / 4];
  ratio.highQuartile = ratios[(3 * ratios.size()) / 4];
  return ratio;
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
  for (ChoiceModelPath path : supportedChoiceModelPaths()) {
    if (path == ChoiceModelPath::Reference) continue;
    const Timed timed = bestOf(5, loaded, path);
    identical = sameTickets(timed, reference, nameOf(path)) && identical;
    std::printf("  %-30s %10.3f %12.3f %14s\n", nameOf(path), timed.seconds,
                nanosecondsPer(timed.seconds, count),
                ticketsText(timed.tickets).c_str());
  }
  const double drawSeconds = drawOnlySeconds(count / Runs);
  std::printf("  %-30s %10.3f %12.3f\n", "RandomSource alone, same outputs",
              drawSeconds, nanosecondsPer(drawSeconds, count));
  const ChoiceModelPath fast = fastestChoiceModelPath();
  const auto evaluateFast = [&]() { return evaluate(loaded, fast).seconds; };
  const PairedRatio a = pairedRatio(
      15, evaluateFast, [&]() { return drawOnce(count / Runs); });
  const PairedRatio b = pairedRatio(
      3, [&]() { return evaluate(loaded, ChoiceModelPath::Reference).seconds; },
      evaluateFast);
  std::printf(
      "\n  Ratios, median of rounds timed in alternation (quartiles):\n"
      "  (a) evaluation (%s) / generator alone: %.2f (%.2f .. %.2f)\n",
      nameOf(fast), a.median, a.lowQuartile, a.highQuartile);
  std::printf("  (b) reference / fast path (%s):        %.2f (%.2f .. %.2f)\n",
              nameOf(fast), b.median, b.lowQuartile, b.highQuartile);
  const ProcessUse use = runProgram(program, loaded);
  std::printf(
      "  Skedomat eval on the case: %s, user %.3f s, peak memory %.1f MiB, "
      "score %s\n\n",
      use.ok ? "exit 0" : "FAILED", use.userSeconds, use.peakMiB,
      use.score.c_str());
  return identical && use.ok;
}

// The fast path over growing cases; the cost per viewer-screening should not
// grow with the size. The sizes are timed in turn, round after round, each
// time over about 10^8 viewer-screenings (a small case evaluated several
// times), and each size keeps its fastest round: so a slow spell of the
// machine falls on all sizes alike rather than on one.
bool benchmarkScaling(const std::string& program, const std::string& folder) {
  const int Sizes = 5;
  const int Rounds = 5;
  const int32_t Viewers[Sizes] = {1000, 4000, 12000, 20000, 56000};
  const int32_t Screenings[Sizes] = {1000, 1800, 1800, 1800, 1800};
  const ChoiceModelPath fast = fastestChoiceModelPath();
  LoadedCase cases[Sizes];
  int repeats[Sizes];
  double best[Sizes];
  for (int k = 0; k < Sizes; ++k) {
    CaseShape shape;
    shape.seed = 100 + static_cast<uint64_t>(k);
    shape.nViewers = Viewers[k];
    shape.nScreenings = Screenings[k];
    shape.nSeats = Viewers[k] / 80;
    if (!generate(folder, shape, cases[k])) return false;
    repeats[k] = static_cast<int>(
        std::max<int64_t>(1, 100000000 / cases[k].viewerScreenings()));
    best[k] = 0;
  }
  for (int round = 0; round < Rounds; ++round) {
    for (int k = 0; k < Sizes; ++k) {
      double seconds = 0;
      for (int r = 0; r < repeats[k]; ++r)
        seconds += evaluate(cases[k], fast).seconds;
      seconds /= repeats[k];
      best[k] = round == 0 ? seconds : std::min(best[k], seconds);
    }
  }
  std::printf("Scaling (%s path, %d runs each, fastest of %d rounds)\n\n",
              nameOf(fast), Runs, Rounds);
  std::printf("  %8s %10s %16s %10s %12s %12s %12s\n", "viewers", "screenings",
              "viewer-scr", "user s", "ns/viewer-scr", "peak MiB", "program s");
  double lowest = 0;
  double highest = 0;
  bool ok = true;
  for (int k = 0; k < Sizes; ++k) {
    const double ns = nanosecondsPer(best[k], cases[k].viewerScreenings());
    const ProcessUse use = runProgram(program, cases[k]);
    ok = ok && use.ok;
    std::printf("  %8d %10d %16lld %10.3f %12.3f %12.1f %12.3f\n", Viewers[k],
                Screenings[k],
                static_cast<long long>(cases[k].viewerScreenings()), best[k],
                ns, use.peakMiB, use.userSeconds);
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
    ProblemLineWriter problems(messages);
    validating.start();
    valid = loaded.submission.validate(loaded.testCase, problems);
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
