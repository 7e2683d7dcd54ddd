#include "base/process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "base/interrupt_cleanup.h"

extern char** environ;

namespace platform {

namespace {

const char NullDevice[] = "/dev/null";

// Has the child open `path` (the null device when empty) as `stream`.
int redirect(posix_spawn_file_actions_t& actions, int stream,
             const std::string& path) {
  const int flags = stream == STDIN_FILENO ? O_RDONLY : O_WRONLY | O_CREAT | O_TRUNC;
  return posix_spawn_file_actions_addopen(
      &actions, stream, path.empty() ? NullDevice : path.c_str(), flags, 0666);
}

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

// A new process group, with the signals this process blocks or ignores
// (while it starts the child, or for its own writes) back to normal.
int ownGroupAttributes(posix_spawnattr_t& attributes) {
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  for (int signalNo : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGXFSZ}) sigaddset(&defaults, signalNo);
  int error = posix_spawnattr_setpgroup(&attributes, 0);
  if (error == 0) error = posix_spawnattr_setsigmask(&attributes, &none);
  if (error == 0) error = posix_spawnattr_setsigdefault(&attributes, &defaults);
  if (error == 0)
    error = posix_spawnattr_setflags(
        &attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  return error;
}

// Spawns `program` with its three standard streams on the files at the
// paths (the null device for an empty one), in a process group of its own
// when `ownGroup`.
bool spawnRedirected(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& inputPath, const std::string& outputPath,
                     const std::string& errorPath, bool ownGroup, pid_t& pid) {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  int error = posix_spawn_file_actions_init(&actions);
  if (error != 0) {
    errno = error;
    return false;
  }
  error = posix_spawnattr_init(&attributes);
  if (error != 0) {
    posix_spawn_file_actions_destroy(&actions);
    errno = error;
    return false;
  }
  if (ownGroup) error = ownGroupAttributes(attributes);
  if (error == 0) error = redirect(actions, STDIN_FILENO, inputPath);
  if (error == 0) error = redirect(actions, STDOUT_FILENO, outputPath);
  if (error == 0) error = redirect(actions, STDERR_FILENO, errorPath);
  std::vector<char*> argv = argumentVector(program, arguments);
  if (error == 0)
    error = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) {
    errno = error;
    return false;
  }
  return true;
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

int waitForAnyChild(const std::vector<ChildProcess>& children, ChildEnd& end) {
  if (children.empty()) return -1;
  for (;;) {
    int waitStatus = 0;
    pid_t pid = waitpid(-1, &waitStatus, 0);
    if (pid < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    for (size_t i = 0; i < children.size(); ++i) {
      if (children[i].handle == static_cast<uintptr_t>(pid)) {
        end = endOf(waitStatus);
        return static_cast<int>(i);
      }
    }
    // A child not in the list has ended: it was not ours to wait for here.
  }
}

void killChild(const ChildProcess& child) {
  kill(static_cast<pid_t>(child.handle), SIGKILL);
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
