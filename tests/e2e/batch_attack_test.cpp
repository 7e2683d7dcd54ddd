// `batch` under attack: outputs spelt as its inputs, symbolic links planted
// where it writes, case names made to run shell code, FIFOs, devices and
// folders where it reads, two batches on one shared file, a signal while it
// evaluates, a solver that leaves a process behind and a full standard
// output. After each attack every input file holds its bytes, no temporary
// folder or file is left, no process the batch started is still running,
// and a refusal says why in one line.
//
// Each run gets a temporary folder of its own (TMPDIR) and a mark in its
// environment that every process it starts inherits, so that what it leaves
// behind is found whatever else runs on the machine.

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "case_runner.h"
#include "robustness_environment.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

const char MarkVariable[] = "SKEDOMAT_ATTACK_RUN";
const std::vector<std::string> CaseNames = {"0001", "0002", "0003", "0004"};

void writeFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The lines of standard error that are not the progress lines of finished
// cases ("[2/4] 0002 ok 1055.667").
std::vector<std::string> messageLines(const std::string& standardError) {
  std::vector<std::string> messages;
  for (const std::string& line : splitLines(standardError))
    if (!(line.size() > 1 && line[0] == '[' && std::isdigit(static_cast<unsigned char>(line[1]))))
      messages.push_back(line);
  return messages;
}

// The text of a JSON field's value in one line of a results file.
std::string field(const std::string& line, const std::string& key) {
  const std::string marker = "\"" + key + "\":";
  const size_t start = line.find(marker);
  if (start == std::string::npos) return "<missing>";
  const size_t from = start + marker.size();
  const size_t end =
      line[from] == '[' ? line.find(']', from) + 1 : line.find_first_of(",}", from);
  return line.substr(from, end - from);
}

// A best-scores file read strictly: one JSON object of names and numbers,
// blanks around. False when the text is anything else (a part of one, say).
bool parseBestScores(const std::string& text, std::map<std::string, double>& scores) {
  scores.clear();
  size_t i = 0;
  auto blanks = [&] {
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  };
  blanks();
  if (i >= text.size() || text[i++] != '{') return false;
  blanks();
  if (i < text.size() && text[i] == '}') {
    ++i;
  } else {
    for (;;) {
      if (i >= text.size() || text[i++] != '"') return false;
      const size_t close = text.find('"', i);
      if (close == std::string::npos) return false;
      const std::string name = text.substr(i, close - i);
      i = close + 1;
      blanks();
      if (i >= text.size() || text[i++] != ':') return false;
      blanks();
      const char* begin = text.c_str() + i;
      char* end = nullptr;
      const double value = std::strtod(begin, &end);
      if (end == begin) return false;
      i += static_cast<size_t>(end - begin);
      scores[name] = value;
      blanks();
      if (i < text.size() && text[i] == ',') {
        ++i;
        blanks();
        continue;
      }
      if (i >= text.size() || text[i++] != '}') return false;
      break;
    }
  }
  blanks();
  return i == text.size();
}

// The folders of one run: `work` is its working folder, `tmp` its TMPDIR,
// and its standard output and error go to files beside them.
struct RunFolders {
  fs::path root, work, tmp;
  std::string mark;
};

// The folders are numbered and named after the run in letters and digits
// alone: a TMPDIR that needs quoting for the shell is refused with --solve.
RunFolders freshRunFolders(const std::string& name) {
  static int nMade = 0;
  std::string folderName = std::to_string(++nMade) + "_";
  for (char c : name)
    folderName += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  RunFolders folders;
  folders.root = freshScratchFolder("batch_attack/" + folderName.substr(0, 60));
  folders.work = folders.root / "work";
  folders.tmp = folders.root / "tmp";
  fs::create_directories(folders.work);
  fs::create_directories(folders.tmp);
  folders.mark = folders.root.string();
  return folders;
}

// One run of the evaluator, started at once; the file-size of nothing is
// limited, its address space when `memoryLimitBytes` is set.
class BatchRun {
 public:
  BatchRun(const RunFolders& folders, const std::vector<std::string>& arguments,
      const std::string& tag, const std::string& stdoutPath = "",
      rlim_t memoryLimitBytes = RLIM_INFINITY)
      : outPath_(stdoutPath.empty() ? (folders.root / (tag + ".stdout")).string() : stdoutPath),
        errPath_((folders.root / (tag + ".stderr")).string()) {
    const std::string& program = robustnessEnvironment().skedomat;
    std::vector<std::string> words = {program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(&word[0]);
    argv.push_back(nullptr);
    std::vector<std::string> settings = {"TMPDIR=" + folders.tmp.string(),
                                         std::string(MarkVariable) + "=" + folders.mark,
                                         "SKEDOMAT=" + program};
    for (char** entry = environ; *entry != nullptr; ++entry) {
      const std::string setting = *entry;
      if (setting.rfind("TMPDIR=", 0) != 0 && setting.rfind("SKEDOMAT=", 0) != 0 &&
          setting.rfind(std::string(MarkVariable) + "=", 0) != 0)
        settings.push_back(setting);
    }
    std::vector<char*> envp;
    for (std::string& setting : settings) envp.push_back(&setting[0]);
    envp.push_back(nullptr);
    const std::string work = folders.work.string();
    start_ = Clock::now();
    pid_ = fork();
    if (pid_ != 0) return;
    const int out = open(outPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int in = open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || in < 0 || chdir(work.c_str()) != 0) _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    if (memoryLimitBytes != RLIM_INFINITY) {
      rlimit limit{memoryLimitBytes, memoryLimitBytes};
      setrlimit(RLIMIT_AS, &limit);
    }
    execve(program.c_str(), argv.data(), envp.data());
    _exit(127);
  }

  BatchRun(const BatchRun&) = delete;
  BatchRun& operator=(const BatchRun&) = delete;
  ~BatchRun() {
    if (!finished_) wait(std::chrono::seconds(0));
  }

  pid_t pid() const { return pid_; }
  void signal(int signalNo) { kill(pid_, signalNo); }

  bool running() {
    if (finished_) return false;
    int status = 0;
    rusage usage{};
    if (wait4(pid_, &status, WNOHANG, &usage) != pid_) return true;
    finish(status, usage);
    return false;
  }

  // The exit status, or 128 + the signal that ended the run; a run that
  // has not ended within `patience` is killed and counts as -1.
  int wait(std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    while (running()) {
      if (Clock::now() > deadline) {
        kill(pid_, SIGKILL);
        int status = 0;
        rusage usage{};
        wait4(pid_, &status, 0, &usage);
        finish(status, usage);
        status_ = -1;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return status_;
  }

  int status() const { return status_; }
  double seconds() const { return seconds_; }
  long long peakBytes() const { return peakBytes_; }
  std::string standardOutput() const { return readFile(outPath_); }
  std::string standardError() const { return readFile(errPath_); }

 private:
  void finish(int status, const rusage& usage) {
    finished_ = true;
    seconds_ = std::chrono::duration<double>(Clock::now() - start_).count();
    peakBytes_ = static_cast<long long>(usage.ru_maxrss) * 1024;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  std::string outPath_, errPath_;
  pid_t pid_ = -1;
  bool finished_ = false;
  int status_ = -1;
  double seconds_ = 0;
  long long peakBytes_ = 0;
  Clock::time_point start_;
};

// The processes, other than zombies, whose environment carries `mark`: what
// a run started and left behind. Each with its command line.
std::map<pid_t, std::string> processesMarked(const std::string& mark) {
  std::map<pid_t, std::string> found;
  const std::string setting = std::string(MarkVariable) + "=" + mark;
  DIR* proc = opendir("/proc");
  if (proc == nullptr) return found;
  while (dirent* entry = readdir(proc)) {
    const pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
    if (pid <= 0 || pid == getpid()) continue;
    const std::string base = std::string("/proc/") + entry->d_name;
    std::string environment = readFile(base + "/environ");
    std::replace(environment.begin(), environment.end(), '\0', '\n');
    if (("\n" + environment).find("\n" + setting + "\n") == std::string::npos) continue;
    const std::string stat = readFile(base + "/stat");
    const size_t close = stat.rfind(')');
    if (close != std::string::npos && close + 2 < stat.size() && stat[close + 2] == 'Z')
      continue;
    std::string command = readFile(base + "/cmdline");
    std::replace(command.begin(), command.end(), '\0', ' ');
    found[pid] = command;
  }
  closedir(proc);
  return found;
}

// Fails for each process the run left running, and ends it. A process that
// was killed a moment ago may still show for a moment.
void expectNoProcessLeft(const std::string& mark) {
  std::map<pid_t, std::string> left = processesMarked(mark);
  for (int attempt = 0; attempt < 100 && !left.empty(); ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    left = processesMarked(mark);
  }
  for (const auto& process : left) {
    ADD_FAILURE() << "left running: pid " << process.first << ": " << process.second;
    kill(process.first, SIGKILL);
  }
}

// The temporaries of the batch, of its reports and of its outputs under
// `root`: "skedomat-batch-*" folders, ".skedomat-batch-*" folders and
// ".NAME.skedomat-*" files.
std::vector<std::string> temporariesUnder(const fs::path& root) {
  std::vector<std::string> found;
  std::error_code code;
  for (fs::recursive_directory_iterator it(root, code), end; !code && it != end;
       it.increment(code)) {
    const std::string name = it->path().filename().string();
    // The lock file beside a best-scores file is no temporary: it stays.
    const std::string lockEnd = ".skedomat-lock";
    const bool lock = name.size() > lockEnd.size() &&
                      name.compare(name.size() - lockEnd.size(), lockEnd.size(), lockEnd) == 0;
    if (!lock && (name.rfind("skedomat-batch-", 0) == 0 ||
                  name.find(".skedomat-") != std::string::npos))
      found.push_back(fs::relative(it->path(), root).string());
  }
  return found;
}

// The bytes of every file under each path (a file or a folder), symbolic
// links as their targets and other kinds by name, never opened.
std::map<std::string, std::string> snapshot(const fs::path& work,
                                            const std::vector<std::string>& paths) {
  std::map<std::string, std::string> files;
  auto take = [&](const fs::path& path) {
    const std::string key = fs::relative(path, work).string();
    const fs::file_status status = fs::symlink_status(path);
    if (fs::is_symlink(status))
      files[key] = "link to " + fs::read_symlink(path).string();
    else if (fs::is_regular_file(status))
      files[key] = "file " + readFile(path.string());
    else if (fs::is_directory(status))
      files[key] = "folder";
    else if (fs::exists(status))
      files[key] = "special";
    else
      files[key] = "missing";
  };
  for (const std::string& path : paths) {
    take(work / path);
    if (!fs::is_directory(fs::symlink_status(work / path))) continue;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(work / path))
      take(entry.path());
  }
  return files;
}

void expectUnchanged(const std::map<std::string, std::string>& before,
                     const std::map<std::string, std::string>& after) {
  for (const auto& file : before) {
    const auto now = after.find(file.first);
    if (now == after.end()) {
      ADD_FAILURE() << file.first << " is gone";
      continue;
    }
    EXPECT_TRUE(now->second == file.second)
        << file.first << " changed: was " << file.second.substr(0, 80) << ", is now "
        << now->second.substr(0, 80);
  }
  for (const auto& file : after)
    EXPECT_TRUE(before.count(file.first) != 0) << file.first << " appeared among the inputs";
}

void runSkedomat(const fs::path& work, const std::vector<std::string>& arguments) {
  const std::string program = robustnessEnvironment().skedomat;
  std::string line = "cd '" + work.string() + "' && '" + program + "'";
  for (const std::string& argument : arguments) line += " '" + argument + "'";
  ASSERT_EQ(0, std::system((line + " >/dev/null 2>&1").c_str())) << line;
}

// Four small generated cases and their baseline submissions, made once;
// `bigFolder` too when asked for: one small case and three that take
// seconds at 300 runs.
const fs::path& pristineFolder() {
  static const fs::path folder = [] {
    const fs::path made = freshScratchFolder("batch_attack_pristine");
    runSkedomat(made, {"generate", "--seeds", "1-4", "--dir", "cases", "--films", "10",
                       "--viewers", "100"});
    fs::create_directories(made / "subs");
    for (const std::string& name : CaseNames)
      runSkedomat(made, {"baseline", "cases/" + name + ".txt", "subs/" + name + ".txt"});
    return made;
  }();
  return folder;
}

const fs::path& bigFolder() {
  static const fs::path folder = [] {
    const fs::path made = freshScratchFolder("batch_attack_big");
    fs::create_directories(made / "cases");
    fs::create_directories(made / "subs");
    fs::copy_file(pristineFolder() / "cases/0001.txt", made / "cases/0001.txt");
    fs::copy_file(pristineFolder() / "subs/0001.txt", made / "subs/0001.txt");
    for (const char* name : {"0002", "0003", "0004"}) {
      runSkedomat(made, {"generate", name, "cases/" + std::string(name) + ".txt", "--films",
                         "40", "--viewers", "1500"});
      runSkedomat(made, {"baseline", "cases/" + std::string(name) + ".txt",
                         "subs/" + std::string(name) + ".txt"});
    }
    return made;
  }();
  return folder;
}

void copyCasesAndSubmissions(const fs::path& from, const fs::path& work) {
  fs::copy(from / "cases", work / "cases");
  fs::copy(from / "subs", work / "subs");
}

// The results file's lines, by case name, and its summary line.
struct Results {
  std::map<std::string, std::string> cases;
  std::vector<std::string> order;
  std::string summary;
};

Results readResults(const fs::path& path) {
  Results results;
  for (const std::string& line : splitLines(readFile(path.string()))) {
    if (line.rfind("{\"summary\":", 0) == 0) {
      results.summary = line;
      continue;
    }
    const std::string name = field(line, "name");
    results.cases[name] = line;
    results.order.push_back(name);
  }
  return results;
}

// The line of case `name` (without quotes); empty when there is none.
std::string caseLine(const Results& results, const std::string& name) {
  const auto line = results.cases.find("\"" + name + "\"");
  return line == results.cases.end() ? std::string() : line->second;
}

// What must be equal between two runs of one case: status, counts, score.
std::string outcomeOf(const std::string& line) {
  return field(line, "status") + " " + field(line, "runs") + " " + field(line, "score");
}

// One attack: what is put in the working folder besides the cases and
// submissions, the command line, what it must exit with and what must hold
// afterwards.
struct Attack {
  using Setup = std::function<void(const fs::path& work)>;
  using Check = std::function<void(const fs::path& work, const BatchRun& run)>;
  Attack(std::string name_, Setup setup_, std::vector<std::string> arguments_, int status_,
         std::vector<std::string> inputs_ = {}, Check check_ = nullptr,
         bool oneLineWhenFailing_ = true, std::string standardOutput_ = "",
         std::chrono::milliseconds patience_ = std::chrono::seconds(30),
         bool limitMemory_ = false)
      : name(std::move(name_)), setup(std::move(setup_)), arguments(std::move(arguments_)),
        status(status_), inputs(std::move(inputs_)), check(std::move(check_)),
        oneLineWhenFailing(oneLineWhenFailing_), standardOutput(std::move(standardOutput_)),
        patience(patience_), limitMemory(limitMemory_) {}

  std::string name;
  std::function<void(const fs::path& work)> setup;
  std::vector<std::string> arguments;
  int status;
  // Inputs besides "cases" and "subs", relative to the working folder.
  std::vector<std::string> inputs;
  Check check;
  // A failure says why in one line (besides the progress lines).
  bool oneLineWhenFailing;
  std::string standardOutput;  // a path for standard output, if not a file
  std::chrono::milliseconds patience;
  bool limitMemory;  // the address space limited to 2 GiB
};

#ifdef SKEDOMAT_SANITIZED
const bool Sanitized = true;
#else
const bool Sanitized = false;
#endif
const long long MemoryBoundBytes = Sanitized ? (1LL << 40) : 512LL << 20;

void runAttack(const Attack& attack) {
  SCOPED_TRACE(attack.name);
  const RunFolders folders = freshRunFolders(attack.name);
  copyCasesAndSubmissions(pristineFolder(), folders.work);
  if (attack.setup) attack.setup(folders.work);
  // With --solve the submissions are the batch's outputs.
  const bool solving =
      std::find(attack.arguments.begin(), attack.arguments.end(), "--solve") !=
      attack.arguments.end();
  std::vector<std::string> inputs = {"cases"};
  if (!solving) inputs.push_back("subs");
  inputs.insert(inputs.end(), attack.inputs.begin(), attack.inputs.end());
  const auto before = snapshot(folders.work, inputs);

  BatchRun run(folders, attack.arguments, "batch", attack.standardOutput,
          attack.limitMemory && !Sanitized ? rlim_t(2) << 30 : RLIM_INFINITY);
  const int status = run.wait(attack.patience);
  const std::string standardError = run.standardError();
  EXPECT_EQ(attack.status, status) << "after " << run.seconds() << " s; standard error:\n"
                                   << standardError;
  EXPECT_NE(134, status) << "crashed";
  EXPECT_LT(run.peakBytes(), MemoryBoundBytes);
  if (attack.status != 0 && attack.oneLineWhenFailing) {
    const std::vector<std::string> messages = messageLines(standardError);
    EXPECT_EQ(1u, messages.size()) << standardError;
    EXPECT_EQ('\n', standardError.empty() ? ' ' : standardError.back()) << standardError;
  }
  expectUnchanged(before, snapshot(folders.work, inputs));
  EXPECT_EQ(std::vector<std::string>{}, temporariesUnder(folders.root));
  expectNoProcessLeft(folders.mark);
  if (attack.check) attack.check(folders.work, run);
}

const char Baseline[] = "\"$SKEDOMAT\" baseline {in} {out}";
const char BestScores[] = "{\"0001\": 5, \"0003\": 7}\n";

void plantCasesLink(const fs::path& work) { fs::create_directory_symlink("cases", work / "lc"); }

// A results file of the four cases, as an earlier batch wrote it.
void writeEarlierResults(const fs::path& path) {
  const RunFolders folders = freshRunFolders("earlier_results");
  copyCasesAndSubmissions(pristineFolder(), folders.work);
  BatchRun run(folders, {"batch", "cases", "subs", "--runs", "3", "--results", "old.jsonl"},
          "batch");
  ASSERT_EQ(0, run.wait(std::chrono::seconds(30))) << run.standardError();
  fs::copy_file(folders.work / "old.jsonl", path, fs::copy_options::overwrite_existing);
}

void expectAllOk(const fs::path& results, const std::vector<std::string>& names) {
  const Results read = readResults(results);
  EXPECT_EQ(names.size(), read.cases.size());
  for (const std::string& name : names)
    EXPECT_EQ("\"ok\"", field(caseLine(read, name), "status")) << name;
}

std::vector<Attack> attacks() {
  std::vector<Attack> table;
  // The solver would write its submissions over the cases.
  for (const std::string submissions : {"cases", "lc", "./cases/", "lc/"})
    for (const std::string& solver : {std::string(Baseline), std::string("cat {in}"),
                                      std::string("cat")})
      table.push_back({"solver writes into the cases as " + submissions + " with " + solver,
                       plantCasesLink,
                       {"batch", "cases", submissions, "--runs", "3", "--solve", solver},
                       2,
                       {}});

  // Two outputs, or an output and an input, on one file.
  table.push_back({"results over a frozen best file",
                   [](const fs::path& work) { writeFile(work / "best.json", BestScores); },
                   {"batch", "cases", "subs", "--results", "best.json", "--best", "best.json",
                    "--freeze-best"},
                   2,
                   {"best.json"}});
  table.push_back({"results and best on one file",
                   [](const fs::path& work) { writeFile(work / "x", BestScores); },
                   {"batch", "cases", "subs", "--results", "x", "--best", "x"},
                   2,
                   {"x"}});
  table.push_back({"results and page on one file",
                   [](const fs::path& work) { writeFile(work / "x", "earlier contents\n"); },
                   {"batch", "cases", "subs", "--results", "x", "--html", "x"},
                   2,
                   {"x"}});
  table.push_back({"best before results on one file",
                   [](const fs::path& work) { writeFile(work / "b.json", BestScores); },
                   {"batch", "cases", "subs", "--best", "b.json", "--results", "b.json"},
                   2,
                   {"b.json"}});
  table.push_back({"results and page on one new file",
                   nullptr,
                   {"batch", "cases", "subs", "--results", "y", "--html", "./y"},
                   2,
                   {},
                   [](const fs::path& work, const BatchRun&) {
                     EXPECT_FALSE(fs::exists(work / "y"));
                   }});

  // An input inside a folder the batch writes its reports or pages to.
  table.push_back({"best file among the reports",
                   [](const fs::path& work) {
                     fs::create_directory(work / "rep");
                     writeFile(work / "rep/0001.txt", BestScores);
                   },
                   {"batch", "cases", "subs", "--reports", "rep", "--best", "rep/0001.txt",
                    "--freeze-best"},
                   2,
                   {"rep"}});
  table.push_back({"compared results among the pages",
                   [](const fs::path& work) {
                     fs::create_directory(work / "ex");
                     writeEarlierResults(work / "ex/0003.html");
                   },
                   {"batch", "cases", "subs", "--explain", "ex", "--compare", "ex/0003.html"},
                   2,
                   {"ex"}});
  table.push_back({"summary page among the pages",
                   [](const fs::path& work) {
                     fs::create_directory(work / "ex");
                     writeFile(work / "ex/0001.html", "earlier page\n");
                   },
                   {"batch", "cases", "subs", "--explain", "ex", "--html", "ex/0001.html"},
                   2,
                   {"ex"}});

  // A symbolic link planted where a report goes is replaced, not followed.
  table.push_back({"link planted among the reports",
                   [](const fs::path& work) {
                     fs::create_directory(work / "rep");
                     fs::create_symlink("../cases/0003.txt", work / "rep/0001.txt");
                   },
                   {"batch", "cases", "subs", "--runs", "3", "--reports", "rep", "--results",
                    "r.jsonl"},
                   0,
                   {},
                   [](const fs::path& work, const BatchRun&) {
                     expectAllOk(work / "r.jsonl", CaseNames);
                     EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(work / "rep/0001.txt")));
                     const std::string report = readFile((work / "rep/0001.txt").string());
                     EXPECT_EQ("OK", report.substr(0, 2)) << report;
                     const std::string line = caseLine(readResults(work / "r.jsonl"), "0001");
                     const std::string runs = field(line, "runs");
                     std::string counts = runs.substr(1, runs.size() - 2);
                     std::replace(counts.begin(), counts.end(), ',', ' ');
                     EXPECT_NE(std::string::npos, report.find(": " + counts + "\n"))
                         << "not 0001's report: " << report;
                   }});
  // ... and where a solver's submission goes.
  for (const std::string& solver :
       {std::string(Baseline),
        std::string("f=$(mktemp) && \"$SKEDOMAT\" baseline /dev/stdin \"$f\" && cat \"$f\" "
                    "&& rm \"$f\"")})
    table.push_back({"link planted among the submissions, solver " + solver,
                     [](const fs::path& work) {
                       fs::create_directory(work / "other");
                       writeFile(work / "other/keep.txt", "not a submission\n");
                       fs::remove(work / "subs/0002.txt");
                       fs::create_symlink("../other/keep.txt", work / "subs/0002.txt");
                     },
                     {"batch", "cases", "subs", "--runs", "3", "--solve", solver, "--results",
                      "r.jsonl"},
                     0,
                     {"other"},
                     [](const fs::path& work, const BatchRun&) {
                       expectAllOk(work / "r.jsonl", CaseNames);
                       EXPECT_TRUE(
                           fs::is_regular_file(fs::symlink_status(work / "subs/0002.txt")));
                     }});

  // Case names that are shell code, and placeholders quoted every way.
  const std::vector<std::string> hostileNames = {"$(touch PWNED)", "`touch PWNED`",
                                                 "a'$(touch PWNED)'b", "x\";touch PWNED;\""};
  auto plantHostileNames = [hostileNames](const fs::path& work) {
    for (const std::string& name : hostileNames) {
      fs::copy_file(work / "cases/0001.txt", work / "cases" / (name + ".txt"));
      fs::copy_file(work / "subs/0001.txt", work / "subs" / (name + ".txt"));
    }
  };
  auto noPwned = [](const fs::path& work, const BatchRun&) {
    for (const fs::directory_entry& entry :
         fs::recursive_directory_iterator(work.parent_path()))
      EXPECT_NE("PWNED", entry.path().filename().string()) << entry.path();
    EXPECT_FALSE(fs::exists(fs::current_path() / "PWNED"));
  };
  for (const std::string& solver :
       {std::string(Baseline), std::string("\"$SKEDOMAT\" baseline \"{in}\" \"{out}\""),
        std::string("\"$SKEDOMAT\" baseline '{in}' '{out}'"),
        std::string("sh -c '\"$SKEDOMAT\" baseline {in} {out}'"),
        std::string("sh -c \"\\\"\\$SKEDOMAT\\\" baseline {in} {out}\""),
        std::string("sh -c 'sh -c \"\\\"\\$SKEDOMAT\\\" baseline {in} {out}\"'")})
    table.push_back({"hostile case names, solver " + solver, plantHostileNames,
                     {"batch", "cases", "subs", "--runs", "2", "--solve", solver, "--results",
                      "r.jsonl"},
                     0,
                     {},
                     [noPwned](const fs::path& work, const BatchRun& run) {
                       noPwned(work, run);
                       EXPECT_EQ(8u, readResults(work / "r.jsonl").cases.size());
                     }});
  for (const std::string& solver :
       {std::string("\"$SKEDOMAT\" baseline {in} {out} {seed}"),
        std::string("echo --seed=\"{seed}\" >&2; \"$SKEDOMAT\" baseline {in} {out}"),
        std::string("echo '{seed}' >&2; \"$SKEDOMAT\" baseline {in} {out}"),
        std::string("sh -c 'echo {seed} >&2'; \"$SKEDOMAT\" baseline {in} {out}"),
        std::string("echo {seed} | cat")})
    table.push_back({"hostile case names as the seed, solver " + solver, plantHostileNames,
                     {"batch", "cases", "subs", "--runs", "2", "--solve", solver, "--results",
                      "r.jsonl"},
                     2,
                     {},
                     noPwned});

  // Something else than a regular file where the batch reads.
  table.push_back({"FIFO as a submission",
                   [](const fs::path& work) {
                     fs::remove(work / "subs/0002.txt");
                     ASSERT_EQ(0, mkfifo((work / "subs/0002.txt").c_str(), 0600));
                   },
                   {"batch", "cases", "subs", "--runs", "3", "--results", "r.jsonl"},
                   2,
                   {},
                   [](const fs::path& work, const BatchRun& run) {
                     EXPECT_LT(run.seconds(), 10);
                     const Results results = readResults(work / "r.jsonl");
                     EXPECT_EQ("\"no_report\"", field(caseLine(results, "0002"), "status"));
                     EXPECT_EQ("\"ok\"", field(caseLine(results, "0003"), "status"));
                   },
                   false,
                   "",
                   std::chrono::seconds(10)});
  for (const std::string option : {"--compare", "--best"})
    table.push_back({"FIFO as " + option,
                     [](const fs::path& work) {
                       ASSERT_EQ(0, mkfifo((work / "pipe").c_str(), 0600));
                     },
                     {"batch", "cases", "subs", option, "pipe"},
                     2,
                     {"pipe"},
                     [](const fs::path&, const BatchRun& run) { EXPECT_LT(run.seconds(), 10); },
                     true,
                     "",
                     std::chrono::seconds(15)});
  auto makeFolder = [](const fs::path& work) { fs::create_directory(work / "folder"); };
  for (const std::string path : {"folder", "/dev/zero"}) {
    const std::vector<std::vector<std::string>> commands = {
        {"batch", "cases", "subs", "--best", path},
        {"batch", "cases", "subs", "--best", path, "--freeze-best"},
        {"batch", "cases", "subs", "--compare", path},
        {"batch", "--page", "page.html", path},
        {"batch", "--merge", "all.jsonl", path},
        {"batch", "--merge", "all.jsonl", "old.jsonl", path},
        {"batch", "--page", "page.html", "old.jsonl", "--compare", path}};
    for (const std::vector<std::string>& command : commands) {
      std::string name = path + " in";
      for (size_t i = 1; i < command.size(); ++i) name += " " + command[i];
      table.push_back({name,
                       [makeFolder](const fs::path& work) {
                         makeFolder(work);
                         writeEarlierResults(work / "old.jsonl");
                       },
                       command,
                       2,
                       {"folder", "old.jsonl"},
                       [](const fs::path& work, const BatchRun&) {
                         EXPECT_FALSE(fs::exists(work / "page.html"));
                         EXPECT_FALSE(fs::exists(work / "all.jsonl"));
                       },
                       true,
                       "",
                       std::chrono::seconds(20),
                       true});
    }
  }

  // A solver that floods its standard output while the others run past the
  // time limit: the limit holds, and the output is never held in memory.
  table.push_back({"a flood of solver output beside solvers past the limit",
                   nullptr,
                   {"batch", "cases", "subs", "--runs", "1", "--jobs", "2", "--time-limit", "1",
                    "--solve",
                    "if [ {seed} = 1 ]; then head -c 100000000 /dev/zero | tr '\\000' a; "
                    "else sleep 4; fi",
                    "--results", "r.jsonl"},
                   2,
                   {},
                   [](const fs::path& work, const BatchRun&) {
                     const Results results = readResults(work / "r.jsonl");
                     for (const char* name : {"0002", "0003", "0004"}) {
                       const std::string line = caseLine(results, name);
                       EXPECT_EQ("\"time_limit\"", field(line, "status")) << line;
                       const size_t solver = line.find("\"solver\":{");
                       ASSERT_NE(std::string::npos, solver) << line;
                       EXPECT_LT(std::strtod(field(line.substr(solver), "seconds").c_str(), nullptr),
                                 2.5)
                           << line;
                     }
                   },
                   false});

  // A cases folder whose name reads as an option never reaches the solver.
  table.push_back({"cases folder named -n",
                   [](const fs::path& work) { fs::create_directory_symlink("cases", work / "-n"); },
                   {"batch", "-n", "solved", "--runs", "1", "--solve", Baseline, "--results",
                    "r.jsonl"},
                   0,
                   {},
                   [](const fs::path& work, const BatchRun&) {
                     expectAllOk(work / "r.jsonl", CaseNames);
                   }});

  // A page path with a NUL and an escape byte in a results file: no href
  // of the summary page carries a control byte.
  table.push_back({"control bytes in a page path",
                   [](const fs::path& work) {
                     writeEarlierResults(work / "old.jsonl");
                     std::string text = readFile((work / "old.jsonl").string());
                     const size_t report = text.find("\"report\":");
                     text.insert(report, "\"page\":\"x\\u0000\\u001by.html\",");
                     std::ofstream(work / "old.jsonl", std::ios::binary) << text;
                   },
                   {"batch", "--page", "page.html", "old.jsonl"},
                   0,
                   {"old.jsonl"},
                   [](const fs::path& work, const BatchRun&) {
                     const std::string page = readFile((work / "page.html").string());
                     size_t links = 0;
                     for (size_t at = 0; (at = page.find("href=\"", at)) != std::string::npos;) {
                       at += 6;
                       const std::string href = page.substr(at, page.find('"', at) - at);
                       ++links;
                       for (char c : href)
                         EXPECT_GE(static_cast<unsigned char>(c), 0x20) << href;
                     }
                     EXPECT_GT(links, 0u);
                   }});

  // A merged name of 200,000 characters: the table stays narrow.
  table.push_back({"a very long name merged",
                   [](const fs::path& work) {
                     writeEarlierResults(work / "old.jsonl");
                     std::string text = readFile((work / "old.jsonl").string());
                     text.replace(text.find("\"0001\""), 6, "\"" + std::string(200000, 'a') + "\"");
                     std::ofstream(work / "long.jsonl", std::ios::binary) << text;
                   },
                   {"batch", "--merge", "all.jsonl", "long.jsonl"},
                   0,
                   {"long.jsonl"},
                   [](const fs::path&, const BatchRun& run) {
                     for (const std::string& line : splitLines(run.standardOutput()))
                       EXPECT_LT(line.size(), 400u) << line.substr(0, 100);
                   }});

  // A solver that leaves a process of its own session behind.
  table.push_back({"solver leaves a process behind",
                   nullptr,
                   {"batch", "cases", "subs", "--runs", "2", "--solve",
                    "setsid sh -c 'sleep 40' & " + std::string(Baseline), "--results",
                    "r.jsonl"},
                   0,
                   {},
                   [](const fs::path& work, const BatchRun& run) {
                     EXPECT_LT(run.seconds(), 20);
                     expectAllOk(work / "r.jsonl", CaseNames);
                   }});

  // A standard output that cannot be written.
  table.push_back({"standard output is full",
                   nullptr,
                   {"batch", "cases", "subs", "--runs", "2"},
                   2,
                   {},
                   nullptr,
                   true,
                   "/dev/full"});

  // A control byte and a line end in a case name.
  table.push_back({"escape and line end in a case name",
                   [](const fs::path& work) {
                     const std::string name = "\x1b[31mred\nline";
                     fs::copy_file(work / "cases/0001.txt", work / "cases" / (name + ".txt"));
                     fs::copy_file(work / "subs/0001.txt", work / "subs" / (name + ".txt"));
                   },
                   {"batch", "cases", "subs", "--runs", "2", "--results", "r.jsonl"},
                   0,
                   {},
                   [](const fs::path& work, const BatchRun& run) {
                     const std::string table = run.standardOutput();
                     EXPECT_EQ(std::string::npos, table.find('\x1b')) << table;
                     for (const std::string& line : splitLines(table)) {
                       EXPECT_EQ(line.find("red") != std::string::npos,
                                 line.find("line") != std::string::npos)
                           << "the name is split over lines:\n" << table;
                     }
                     const std::string results = readFile((work / "r.jsonl").string());
                     EXPECT_EQ(std::string::npos, results.find('\x1b'));
                     EXPECT_EQ(6u, splitLines(results).size()) << results;
                     std::string lower = results;
                     std::transform(lower.begin(), lower.end(), lower.begin(),
                                    [](unsigned char c) { return std::tolower(c); });
                     // A line end may be written either way JSON allows.
                     EXPECT_TRUE(lower.find("\"\\u001b[31mred\\nline\"") != std::string::npos ||
                                 lower.find("\"\\u001b[31mred\\u000aline\"") != std::string::npos)
                         << results;
                   }});
  return table;
}

TEST(BatchAttack, EveryAttackOfTheTableLeavesTheInputsWholeAndNothingBehind) {
  for (const Attack& attack : attacks()) runAttack(attack);
}

// Two shards of one batch at once, raising one best file: afterwards it
// holds every case of both, and it is whole whenever it is read.
TEST(BatchAttack, TwoShardsAtOnceRaiseOneBestFileWhole) {
  for (int trial = 0; trial < 5; ++trial) {
    SCOPED_TRACE("trial " + std::to_string(trial));
    const RunFolders folders = freshRunFolders("shared_best_" + std::to_string(trial));
    copyCasesAndSubmissions(pristineFolder(), folders.work);
    // Half the trials start from a file that knows two cases, low.
    if (trial % 2 == 1) writeFile(folders.work / "best.json", BestScores);
    const auto before = snapshot(folders.work, {"cases", "subs"});
    BatchRun first(folders, {"batch", "cases", "subs", "--runs", "40", "--jobs", "1", "--shard",
                        "1/2", "--best", "best.json", "--results", "r1.jsonl"},
              "first");
    BatchRun second(folders, {"batch", "cases", "subs", "--runs", "40", "--jobs", "1", "--shard",
                         "2/2", "--best", "best.json", "--results", "r2.jsonl"},
               "second");
    int nRead = 0, nBroken = 0;
    std::string broken;
    std::map<std::string, double> scores;
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    while ((first.running() || second.running()) && Clock::now() < deadline) {
      // The file is never removed: once there, a read finds it.
      const bool existed = fs::exists(folders.work / "best.json");
      const std::string text = readFile((folders.work / "best.json").string());
      if (!existed && text.empty()) continue;
      ++nRead;
      if (!parseBestScores(text, scores)) {
        ++nBroken;
        broken = text;
      }
    }
    EXPECT_EQ(0, first.wait(std::chrono::seconds(5))) << first.standardError();
    EXPECT_EQ(0, second.wait(std::chrono::seconds(5))) << second.standardError();
    EXPECT_EQ(0, nBroken) << "of " << nRead << " reads, e.g. " << broken;
    ASSERT_TRUE(parseBestScores(readFile((folders.work / "best.json").string()), scores))
        << readFile((folders.work / "best.json").string());
    Results all = readResults(folders.work / "r1.jsonl");
    const Results other = readResults(folders.work / "r2.jsonl");
    all.cases.insert(other.cases.begin(), other.cases.end());
    EXPECT_EQ(CaseNames.size(), all.cases.size());
    EXPECT_EQ(CaseNames.size(), scores.size());
    for (const std::string& name : CaseNames) {
      const double score =
          std::strtod(field(all.cases["\"" + name + "\""], "score").c_str(), nullptr);
      EXPECT_TRUE(scores.count(name) != 0 && scores[name] == score)
          << name << ": best " << scores[name] << ", scored " << score;
    }
    expectUnchanged(before, snapshot(folders.work, {"cases", "subs"}));
    EXPECT_EQ(std::vector<std::string>{}, temporariesUnder(folders.root));
    expectNoProcessLeft(folders.mark);
  }
}

// A submission of `work`/subs with its last screening left out.
void dropLastScreening(const fs::path& path) {
  std::vector<std::string> lines = splitLines(readFile(path.string()));
  ASSERT_GT(lines.size(), 5u);
  lines.pop_back();
  lines[3] = std::to_string(std::stoi(lines[3]) - 1);
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  writeFile(path, text);
}

// Two batches at once that share the reports folder, on submissions that
// score differently: each gets what it gets alone.
TEST(BatchAttack, TwoBatchesSharingTheReportsFolderEachGetTheirOwnScores) {
  const RunFolders folders = freshRunFolders("shared_reports");
  copyCasesAndSubmissions(pristineFolder(), folders.work);
  fs::copy(folders.work / "subs", folders.work / "other");
  for (const std::string& name : CaseNames) dropLastScreening(folders.work / "other" / (name + ".txt"));
  const auto before = snapshot(folders.work, {"cases", "subs", "other"});
  std::map<std::string, Results> alone;
  for (const std::string submissions : {"subs", "other"}) {
    BatchRun run(folders, {"batch", "cases", submissions, "--runs", "30", "--results",
                      submissions + "_alone.jsonl"},
            "alone");
    ASSERT_EQ(0, run.wait(std::chrono::seconds(30))) << run.standardError();
    alone[submissions] = readResults(folders.work / (submissions + "_alone.jsonl"));
  }
  for (const std::string& name : CaseNames) {
    const std::string key = "\"" + name + "\"";
    ASSERT_NE(outcomeOf(alone["subs"].cases[key]), outcomeOf(alone["other"].cases[key]))
        << "the two submissions of " << name << " must score differently";
  }
  for (int trial = 0; trial < 3; ++trial) {
    SCOPED_TRACE("trial " + std::to_string(trial));
    BatchRun first(folders, {"batch", "cases", "subs", "--runs", "30", "--jobs", "1", "--reports",
                        "rep", "--results", "subs.jsonl"},
              "first");
    BatchRun second(folders, {"batch", "cases", "other", "--runs", "30", "--jobs", "1",
                         "--reports", "rep", "--results", "other.jsonl"},
               "second");
    EXPECT_EQ(0, first.wait(std::chrono::seconds(30))) << first.standardError();
    EXPECT_EQ(0, second.wait(std::chrono::seconds(30))) << second.standardError();
    for (const std::string submissions : {"subs", "other"}) {
      const Results together = readResults(folders.work / (submissions + ".jsonl"));
      for (const std::string& name : CaseNames) {
        const std::string key = "\"" + name + "\"";
        EXPECT_EQ(outcomeOf(alone[submissions].cases[key]), outcomeOf(caseLine(together, name)))
            << submissions << " " << name;
      }
    }
    EXPECT_EQ(std::vector<std::string>{}, temporariesUnder(folders.root));
    expectNoProcessLeft(folders.mark);
  }
  expectUnchanged(before, snapshot(folders.work, {"cases", "subs", "other"}));
}

// SIGTERM while cases are evaluated: the batch ends with exit status 2, its
// children with it, and writes the cases that finished and an interrupted
// summary; the best file stays as it was.
TEST(BatchAttack, TerminatedWhileEvaluatingKeepsOnlyWhatFinished) {
  const RunFolders folders = freshRunFolders("terminated");
  copyCasesAndSubmissions(bigFolder(), folders.work);
  writeFile(folders.work / "best.json", BestScores);
  const auto before = snapshot(folders.work, {"cases", "subs", "best.json"});
  BatchRun run(folders, {"batch", "cases", "subs", "--runs", "300", "--jobs", "2", "--results",
                    "r.jsonl", "--best", "best.json", "--reports", "rep", "--explain", "ex"},
          "batch");
  // Wait for the small case to finish and two evaluations of the big ones to run.
  const auto deadline = Clock::now() + std::chrono::seconds(20);
  size_t nRunning = 0;
  while (Clock::now() < deadline && run.running()) {
    nRunning = processesMarked(folders.mark).size();
    if (nRunning >= 3 && run.standardError().find("0001") != std::string::npos) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_GE(nRunning, 3u) << "the batch and two evaluations should be running";
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  run.signal(SIGTERM);
  EXPECT_EQ(2, run.wait(std::chrono::seconds(10)));
  EXPECT_LT(run.seconds(), 5) << "the batch did not stop promptly";
  EXPECT_EQ(1u, messageLines(run.standardError()).size()) << run.standardError();
  expectNoProcessLeft(folders.mark);
  EXPECT_EQ(std::vector<std::string>{}, temporariesUnder(folders.root));
  expectUnchanged(before, snapshot(folders.work, {"cases", "subs", "best.json"}));
  const Results results = readResults(folders.work / "r.jsonl");
  EXPECT_NE(std::string::npos, results.summary.find("\"interrupted\":true")) << results.summary;
  EXPECT_GE(results.cases.size(), 1u);
  EXPECT_LT(results.cases.size(), CaseNames.size());
  for (const auto& line : results.cases)
    EXPECT_EQ("\"ok\"", field(line.second, "status")) << "an unfinished case: " << line.second;
}

}  // namespace
