#include "base/process.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/interrupt_cleanup.h"

namespace platform {

namespace {

const char NullDevice[] = "/dev/null";

std::vector<char*> argumentVector(const std::string& program,
                                  const std::vector<std::string>& arguments) {
  std::vector<char*> vector;
  vector.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments)
    vector.push_back(const_cast<char*>(argument.c_str()));
  vector.push_back(nullptr);
  return vector;
}

ChildEnd endOf(int waitStatus) {
  ChildEnd end;
  end.crashed = !WIFEXITED(waitStatus);
  end.status = end.crashed ? (WIFSIGNALED(waitStatus) ? WTERMSIG(waitStatus) : -1)
                           : WEXITSTATUS(waitStatus);
  return end;
}

// What the child does between vfork and exec, with only calls that are
// safe there: it dies with this process (so that nothing of a batch that is
// killed outright runs on), takes back the default handling of the signals
// this process handles (their handlers must not run in the child), and, in
// a group of its own, also of those it blocks or ignores; then it opens its
// three standard streams. Should any of it fail, the reason goes to the
// parent through `report`. `mask` is the parent's signal mask.
[[noreturn]] void becomeChild(const char* program, char* const* argv, const char* const paths[3],
                              bool ownGroup, pid_t parent, int report, const sigset_t* mask) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) _exit(127);
  struct sigaction normal;
  std::memset(&normal, 0, sizeof normal);
  normal.sa_handler = SIG_DFL;
  for (int signalNo : {SIGINT, SIGTERM, SIGHUP, SIGCHLD}) sigaction(signalNo, &normal, nullptr);
  sigset_t none;
  sigemptyset(&none);
  if (ownGroup) {
    setpgid(0, 0);
    for (int signalNo : {SIGPIPE, SIGXFSZ}) sigaction(signalNo, &normal, nullptr);
    mask = &none;
  }
  sigprocmask(SIG_SETMASK, mask, nullptr);
  for (int stream = 0; stream < 3; ++stream) {
    const int flags = stream == STDIN_FILENO ? O_RDONLY : O_WRONLY | O_CREAT | O_TRUNC;
    const int descriptor = open(paths[stream], flags, 0666);
    if (descriptor < 0 || (descriptor != stream && dup2(descriptor, stream) < 0)) break;
    if (descriptor != stream) close(descriptor);
    if (stream == 2) execv(program, argv);
  }
  const int error = errno;
  ssize_t ignored = write(report, &error, sizeof error);
  (void)ignored;
  _exit(127);
}

// Starts `program` with its three standard streams on the files at the
// paths (the null device for an empty one), in a process group of its own
// when `ownGroup`. False, with errno, when it could not be started.
bool spawnRedirected(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& inputPath, const std::string& outputPath,
                     const std::string& errorPath, bool ownGroup, pid_t& pid) {
  std::vector<char*> argv = argumentVector(program, arguments);
  const char* const paths[3] = {inputPath.empty() ? NullDevice : inputPath.c_str(),
                                outputPath.empty() ? NullDevice : outputPath.c_str(),
                                errorPath.empty() ? NullDevice : errorPath.c_str()};
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return false;
  const pid_t parent = getpid();
  // The child shares this process's memory until its exec: no handler may
  // run in it before it has set its own.
  sigset_t all, mask;
  sigfillset(&all);
  sigprocmask(SIG_SETMASK, &all, &mask);
  pid = vfork();
  if (pid == 0)
    becomeChild(program.c_str(), argv.data(), paths, ownGroup, parent, report[1], &mask);
  const int forkError = errno;
  sigprocmask(SIG_SETMASK, &mask, nullptr);
  close(report[1]);
  if (pid < 0) {
    close(report[0]);
    errno = forkError;
    return false;
  }
  // The pipe closes at the exec; a number in it is why there was none.
  int childError = 0;
  ssize_t count;
  do count = read(report[0], &childError, sizeof childError);
  while (count < 0 && errno == EINTR);
  close(report[0]);
  if (count != static_cast<ssize_t>(sizeof childError)) return true;
  waitpid(pid, nullptr, 0);
  errno = childError;
  return false;
}

bool isLiteralInShell(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         (c != '\0' && std::strchr("_./:@%+=,-", c) != nullptr);
}

}  // namespace

bool startChild(const std::string& program,
                const std::vector<std::string>& arguments,
                const std::string& outputPath, const std::string& errorPath,
                ChildProcess& child) {
  pid_t pid = 0;
  if (!spawnRedirected(program, arguments, std::string(), outputPath, errorPath, false, pid))
    return false;
  child.handle = static_cast<uintptr_t>(pid);
  return true;
}

bool startShellCommand(const std::string& command, const std::string& inputPath,
                       const std::string& outputPath, const std::string& errorPath,
                       ChildProcess& child) {
  pid_t pid = 0;
  // An interrupt between the start and the registration would miss the group.
  InterruptsHeld held;
  if (!spawnRedirected("/bin/sh", {"-c", command}, inputPath, outputPath, errorPath, true,
                       pid))
    return false;
  if (!killGroupOnInterrupt(static_cast<uintptr_t>(pid))) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    errno = EAGAIN;
    return false;
  }
  child.handle = static_cast<uintptr_t>(pid);
  child.group = static_cast<uintptr_t>(pid);
  return true;
}

bool childHasEnded(const ChildProcess& child, ChildEnd& end) {
  for (;;) {
    int waitStatus = 0;
    const pid_t pid = waitpid(static_cast<pid_t>(child.handle), &waitStatus, WNOHANG);
    if (pid == 0) return false;
    if (pid < 0 && errno == EINTR) continue;
    if (pid < 0) {
      end = ChildEnd();
      end.crashed = true;
    } else {
      end = endOf(waitStatus);
    }
    return true;
  }
}

void endChildGroup(const ChildProcess& child) {
  if (child.group == 0) return;
  kill(-static_cast<pid_t>(child.group), SIGKILL);
  forgetGroupOnInterrupt(child.group);
}

std::string shellWord(const std::string& text) {
  bool literal = !text.empty();
  for (char c : text) literal = literal && isLiteralInShell(c);
  if (literal) return text;
  std::string word = "'";
  for (char c : text) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return word + "'";
}

void killChild(const ChildProcess& child) {
  kill(static_cast<pid_t>(child.handle), SIGKILL);
}

namespace {

// The parent of process `pid`, from /proc; -1 when it cannot be read.
pid_t parentOf(pid_t pid) {
  char path[64];
  std::snprintf(path, sizeof path, "/proc/%d/stat", static_cast<int>(pid));
  std::FILE* file = std::fopen(path, "r");
  if (file == nullptr) return -1;
  char buffer[512];
  const size_t count = std::fread(buffer, 1, sizeof buffer - 1, file);
  std::fclose(file);
  buffer[count] = '\0';
  // "pid (name) state ppid ...": the name may hold blanks and parentheses.
  const char* end = std::strrchr(buffer, ')');
  int parent = -1;
  if (end == nullptr || std::sscanf(end + 1, " %*c %d", &parent) != 1) return -1;
  return static_cast<pid_t>(parent);
}

// The processes whose parent is this one and that are none of `children`.
std::vector<pid_t> adoptedProcesses(const std::vector<ChildProcess>& children) {
  std::vector<pid_t> adopted;
  DIR* folder = opendir("/proc");
  if (folder == nullptr) return adopted;
  const pid_t self = getpid();
  while (const dirent* entry = readdir(folder)) {
    char* end = nullptr;
    const long pid = std::strtol(entry->d_name, &end, 10);
    if (end == entry->d_name || *end != '\0' || parentOf(static_cast<pid_t>(pid)) != self)
      continue;
    bool known = false;
    for (const ChildProcess& child : children)
      known = known || child.handle == static_cast<uintptr_t>(pid);
    if (!known) adopted.push_back(static_cast<pid_t>(pid));
  }
  closedir(folder);
  return adopted;
}

}  // namespace

namespace {

// A child's end wakes waitForChildEvent through this pipe: the handler of
// SIGCHLD writes a byte into it, so that an end between two looks at the
// children is never missed.
int childEndPipe[2] = {-1, -1};

extern "C" void noteChildEnd(int) {
  const int saved = errno;
  const char byte = 0;
  ssize_t ignored = write(childEndPipe[1], &byte, 1);
  (void)ignored;
  errno = saved;
}

bool watchChildEnds() {
  if (childEndPipe[0] >= 0) return true;
  if (pipe2(childEndPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = noteChildEnd;
  action.sa_flags = SA_RESTART | SA_NOCLDSTOP;
  sigemptyset(&action.sa_mask);
  return sigaction(SIGCHLD, &action, nullptr) == 0;
}

}  // namespace

void waitForChildEvent(const std::vector<ChildProcess>&, int timeoutMilliseconds) {
  if (!watchChildEnds()) {
    usleep(1000);
    return;
  }
  pollfd wake = {childEndPipe[0], POLLIN, 0};
  poll(&wake, 1, timeoutMilliseconds);
  char drained[64];
  while (read(childEndPipe[0], drained, sizeof drained) > 0) {
  }
}

void adoptOrphans() { prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0); }

void killAdoptedProcesses(const std::vector<ChildProcess>& children) {
  // Each one killed hands its own children to this process in turn.
  for (int round = 0; round < 64; ++round) {
    const std::vector<pid_t> adopted = adoptedProcesses(children);
    if (adopted.empty()) return;
    for (pid_t pid : adopted) kill(pid, SIGKILL);
    for (pid_t pid : adopted) waitpid(pid, nullptr, 0);
  }
}

std::string executablePath() {
  char buffer[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
  if (length <= 0 || static_cast<size_t>(length) >= sizeof buffer) return std::string();
  return std::string(buffer, static_cast<size_t>(length));
}

int hardwareThreads() {
  long count = sysconf(_SC_NPROCESSORS_ONLN);
  return count < 1 ? 1 : count > INT_MAX ? INT_MAX : static_cast<int>(count);
}

}  // namespace platform
