// Evaluations stopped from outside while they write: cut by the file-size
// limit, killed or interrupted at many moments of a long run and of a long
// report, run in pairs on one report path, and pointed at a FIFO. Whatever
// happens, the report path holds the previous report or the new one, each
// whole, and an evaluation that was told to stop leaves no temporary file.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "case_runner.h"
#include "robustness_environment.h"

namespace fs = std::filesystem;

namespace {

const char PreviousReport[] = "a previous report, whole\n-1\n";

// One run of the evaluator in `folder`, with its standard streams sent to
// files there, or one of them closed; the file-size limit applies to the
// child alone.
class Child {
 public:
  Child(const std::string& folder, const std::vector<std::string>& arguments,
        rlim_t fileSizeLimit = RLIM_INFINITY, const std::string& name = "child",
        int closedStream = -1) {
    const std::string& program = robustnessEnvironment().skedomat;
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const std::string out = folder + "/." + name + ".stdout";
    const std::string err = folder + "/." + name + ".stderr";
    errPath_ = err;
    pid_ = fork();
    if (pid_ != 0) return;
    rlimit limit{fileSizeLimit, fileSizeLimit};
    if (chdir(folder.c_str()) != 0 || !std::freopen(out.c_str(), "w", stdout) ||
        !std::freopen(err.c_str(), "w", stderr) || setrlimit(RLIMIT_FSIZE, &limit) != 0)
      _exit(127);
    if (closedStream >= 0) close(closedStream);
    execv(program.c_str(), argv.data());
    _exit(127);
  }

  void signal(int signalNo) { kill(pid_, signalNo); }

  // The exit status, or 128 + the signal that ended the child. A child that
  // does not end within `patience` is killed and counts as -1.
  int wait(std::chrono::seconds patience = std::chrono::seconds(60)) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        return -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  std::string standardError() const { return readFile(errPath_); }

 private:
  pid_t pid_ = -1;
  std::string errPath_;
};

void writeFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The temporary files beside the report, named after it.
std::vector<std::string> temporaries(const std::string& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    if (entry.path().filename().string().find(".skedomat-") != std::string::npos)
      names.push_back(entry.path().filename().string());
  return names;
}

void removeTemporaries(const std::string& folder) {
  for (const std::string& name : temporaries(folder)) fs::remove(fs::path(folder) / name);
}

// A folder with the bundled test case, a valid schedule and one in which
// `nOverlapping` screenings all start together (a long invalid-submission
// report).
std::string prepareFolder(const std::string& name, int nOverlapping) {
  const std::string folder = freshScratchFolder(name);
  const fs::path examples(robustnessEnvironment().examples);
  fs::copy_file(examples / "input.txt", fs::path(folder) / "input.txt");
  fs::copy_file(examples / "submission.txt", fs::path(folder) / "submission.txt");
  std::ofstream overlapping(fs::path(folder) / "overlapping.txt", std::ios::binary);
  overlapping << "123456\nTavo\n1\n" << nOverlapping << "\n";
  for (int i = 0; i < nOverlapping; ++i) overlapping << "0 0 0\n";
  return folder;
}

// The whole report that `arguments` give when nothing stops them.
std::string wholeReport(const std::string& folder, const std::vector<std::string>& arguments,
                        const std::string& report) {
  Child child(folder, arguments);
  EXPECT_EQ(0, child.wait());
  return normaliseReport(readFile(folder + "/" + report));
}

// The report path holds the previous report or the whole new one.
void expectWholeReport(const std::string& folder, const std::string& whole) {
  const std::string report = readFile(folder + "/report.txt");
  if (report == PreviousReport) return;
  EXPECT_EQ(whole, normaliseReport(report)) << "the report is neither the old one nor whole";
}

struct LongWork {
  const char* what;
  std::vector<std::string> arguments;
};

std::vector<LongWork> longWork() {
  return {{"a long run", {"eval", "input.txt", "submission.txt", "report.txt", "1500"}},
          {"a long report", {"eval", "input.txt", "overlapping.txt", "report.txt"}}};
}

TEST(FaultInjection, AReportCutByTheFileSizeLimitLeavesThePreviousOneWhole) {
  const std::string folder = prepareFolder("cut", 20000);
  for (const LongWork& work : longWork()) {
    const std::string whole = wholeReport(folder, work.arguments, "report.txt");
    const rlim_t size = fs::file_size(fs::path(folder) / "report.txt");
    for (rlim_t limit : std::vector<rlim_t>{0, 1, 2, 5, 100, 512, 1023, 1024, 4096,
                                            65536, size / 2, size - 1}) {
      if (limit >= size) continue;
      SCOPED_TRACE(std::string(work.what) + ", limit " + std::to_string(limit));
      writeFile(fs::path(folder) / "report.txt", PreviousReport);
      Child child(folder, work.arguments, limit);
      EXPECT_EQ(2, child.wait());
      EXPECT_EQ(PreviousReport, readFile(folder + "/report.txt"));
      EXPECT_TRUE(temporaries(folder).empty());
      // The limit holds for the file that takes standard error too.
      const std::string message = child.standardError();
      if (limit >= 512) {
        EXPECT_EQ(1, std::count(message.begin(), message.end(), '\n')) << message;
      }
    }
  }
}

TEST(FaultInjection, StoppedAtAnyMomentTheReportIsTheOldOrTheNewOneWhole) {
  const std::string folder = prepareFolder("stopped", 150000);
  for (const LongWork& work : longWork()) {
    const std::string whole = wholeReport(folder, work.arguments, "report.txt");
    const auto start = std::chrono::steady_clock::now();
    Child timed(folder, work.arguments);
    ASSERT_EQ(0, timed.wait());
    const auto duration = std::chrono::steady_clock::now() - start;
    int nCleanedUp = 0;  // stops that hit the work itself
    for (int signalNo : {SIGKILL, SIGTERM, SIGINT, SIGHUP}) {
      for (int step = 0; step <= 9; ++step) {
        SCOPED_TRACE(std::string(work.what) + ", signal " + std::to_string(signalNo) +
                     " at step " + std::to_string(step));
        writeFile(fs::path(folder) / "report.txt", PreviousReport);
        Child child(folder, work.arguments);
        std::this_thread::sleep_for(duration * step / 8);
        child.signal(signalNo);
        const int status = child.wait();
        expectWholeReport(folder, whole);
        if (signalNo == SIGKILL) {
          EXPECT_TRUE(status == 0 || status == 128 + SIGKILL) << status;
          removeTemporaries(folder);
          continue;
        }
        // Before the temporary file exists and after the report is in
        // place, the signal ends the process as usual.
        EXPECT_TRUE(status == 0 || status == 2 || status == 128 + signalNo) << status;
        if (status == 2) {
          EXPECT_EQ(PreviousReport, readFile(folder + "/report.txt"));
          ++nCleanedUp;
        }
        EXPECT_TRUE(temporaries(folder).empty());
      }
    }
    EXPECT_GT(nCleanedUp, 3) << work.what << ": the stops missed the work";
  }
}

TEST(FaultInjection, TwoEvaluationsOnOneReportPathLeaveOneOfTheTwoWhole) {
  const std::string folder = prepareFolder("concurrent", 30000);
  const std::vector<std::string> success = {"eval", "input.txt", "submission.txt",
                                            "shared.txt", "200"};
  const std::vector<std::string> invalid = {"eval", "input.txt", "overlapping.txt",
                                            "shared.txt"};
  const std::string wholeSuccess = wholeReport(folder, success, "shared.txt");
  const std::string wholeInvalid = wholeReport(folder, invalid, "shared.txt");
  for (int pair = 0; pair < 20; ++pair) {
    SCOPED_TRACE("pair " + std::to_string(pair));
    Child first(folder, pair % 2 == 0 ? success : invalid, RLIM_INFINITY, "first");
    Child second(folder, pair % 2 == 0 ? invalid : success, RLIM_INFINITY, "second");
    EXPECT_EQ(0, first.wait());
    EXPECT_EQ(0, second.wait());
    const std::string report = normaliseReport(readFile(folder + "/shared.txt"));
    EXPECT_TRUE(report == wholeSuccess || report == wholeInvalid) << report.substr(0, 200);
    EXPECT_TRUE(temporaries(folder).empty());
  }
}

TEST(FaultInjection, AFifoAsTheReportIsRefusedAtOnce) {
  const std::string folder = prepareFolder("fifo", 1);
  ASSERT_EQ(0, mkfifo((folder + "/report.txt").c_str(), 0600));
  Child child(folder, {"eval", "input.txt", "submission.txt", "report.txt"});
  EXPECT_EQ(2, child.wait(std::chrono::seconds(10)));
  EXPECT_TRUE(temporaries(folder).empty());
}

TEST(StandardStreams, AClosedStreamNeverSendsItsMessagesIntoAnOutput) {
  const std::string folder = prepareFolder("closed_streams", 1);
  fs::create_directory(fs::path(folder) / "adir");
  // A warning for the run count, and one for the missing test case after
  // the report's temporary file is open.
  const std::vector<std::string> warned = {"eval", "absent.txt", "submission.txt",
                                           "report.txt", "3x"};
  const std::string whole = wholeReport(folder, warned, "report.txt");
  for (int stream : {0, 1, 2}) {
    SCOPED_TRACE("stream " + std::to_string(stream) + " closed");
    Child refused(folder, {"explain", "input.txt", "submission.txt", "page.html", "--csv",
                           "adir"},
                  RLIM_INFINITY, "refused", stream);
    EXPECT_EQ(2, refused.wait());
    EXPECT_FALSE(fs::exists(fs::path(folder) / "page.html"));
    fs::remove(fs::path(folder) / "report.txt");
    Child warning(folder, warned, RLIM_INFINITY, "warning", stream);
    EXPECT_EQ(0, warning.wait());
    EXPECT_EQ(whole, normaliseReport(readFile(folder + "/report.txt")));
  }
}

}  // namespace
