#include "base/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

bool FileLock::acquire(const std::string& path, std::string& error) {
  const int descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (descriptor < 0) {
    error = std::strerror(errno);
    return false;
  }
  while (flock(descriptor, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    error = std::strerror(errno);
    close(descriptor);
    return false;
  }
  handle_ = descriptor;
  return true;
}

FileLock::~FileLock() {
  if (handle_ >= 0) close(static_cast<int>(handle_));
}
