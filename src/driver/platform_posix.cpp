#include "driver/platform.h"

#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace platform {

std::vector<std::string> commandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

std::FILE* openFile(const std::string& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

std::string lastErrorText() { return std::strerror(errno); }

bool sameExistingFile(const std::string& a, const std::string& b) {
  struct stat statA, statB;
  if (stat(a.c_str(), &statA) != 0 || stat(b.c_str(), &statB) != 0)
    return false;
  return statA.st_dev == statB.st_dev && statA.st_ino == statB.st_ino;
}

int64_t userCpuTicks() {
  struct rusage usage;
  if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
  return static_cast<int64_t>(usage.ru_utime.tv_sec) * 10000000 +
         static_cast<int64_t>(usage.ru_utime.tv_usec) * 10;
}

const char* lineEnd() { return "\n"; }

}  // namespace platform
