#include "measured_run.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double seconds(const timeval& time) { return time.tv_sec + time.tv_usec * 1e-6; }

// ru_maxrss is in bytes on macOS and in KiB elsewhere.
int64_t peakBytes(const rusage& usage) {
#ifdef __APPLE__
  return usage.ru_maxrss;
#else
  return static_cast<int64_t>(usage.ru_maxrss) * 1024;
#endif
}

}  // namespace

MeasuredRun runMeasured(const std::string& program,
                        const std::vector<std::string>& arguments,
                        const std::string& directory, const std::string& stdoutPath,
                        const std::string& stderrPath) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments)
    argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  MeasuredRun run;
  pid_t pid = fork();
  if (pid < 0) return run;
  if (pid == 0) {
    int out = open(stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || chdir(directory.c_str()) != 0) _exit(127);
    dup2(out, 1);
    dup2(err, 2);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return run;
  run.peakBytes = peakBytes(usage);
  run.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
  return run;
}
