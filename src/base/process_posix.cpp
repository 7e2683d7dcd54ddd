#include "base/process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

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

}  // namespace

bool startChild(const std::string& program,
                const std::vector<std::string>& arguments,
                const std::string& outputPath, const std::string& errorPath,
                ChildProcess& child) {
  posix_spawn_file_actions_t actions;
  int error = posix_spawn_file_actions_init(&actions);
  if (error != 0) {
    errno = error;
    return false;
  }
  error = redirect(actions, STDIN_FILENO, std::string());
  if (error == 0) error = redirect(actions, STDOUT_FILENO, outputPath);
  if (error == 0) error = redirect(actions, STDERR_FILENO, errorPath);
  pid_t pid = 0;
  std::vector<char*> argv = argumentVector(program, arguments);
  if (error == 0)
    error = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) {
    errno = error;
    return false;
  }
  child.handle = static_cast<uintptr_t>(pid);
  return true;
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
