#include "base/platform.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

// Symbolic links followed before a path is taken for a loop, as the system
// itself counts them.
const int MaxLinkHops = 40;

bool isAbsolute(const std::string& path) { return !path.empty() && path[0] == '/'; }

// The folder part of `path`, with its final separator ("" for a bare name).
std::string folderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Where the link `path` points, read relative to the link's own folder;
// false when `path` is no readable link.
bool readLink(const std::string& path, std::string& destination) {
  char buffer[PATH_MAX];
  ssize_t length = readlink(path.c_str(), buffer, sizeof buffer);
  if (length < 0 || static_cast<size_t>(length) >= sizeof buffer) return false;
  destination.assign(buffer, static_cast<size_t>(length));
  if (!isAbsolute(destination)) destination = folderOf(path) + destination;
  return true;
}

// The permissions a new file gets from the process's file-creation mask.
mode_t newFilePermissions() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

FileIdentity identityOf(const struct stat& status) {
  FileIdentity identity;
  identity.volume = static_cast<uint64_t>(status.st_dev);
  identity.index = static_cast<uint64_t>(status.st_ino);
  return identity;
}

}  // namespace

std::vector<std::string> commandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

void ensureStandardStreams() {
  for (int stream = 0; stream <= 2; ++stream) {
    if (fcntl(stream, F_GETFD) != -1 || errno != EBADF) continue;
    // The lowest free descriptor is the closed one.
    int opened = open("/dev/null", stream == 0 ? O_RDONLY : O_WRONLY);
    if (opened >= 0 && opened != stream) close(opened);
  }
}

std::FILE* openFile(const std::string& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

std::string lastErrorText() { return std::strerror(errno); }

bool identifyFile(const std::string& path, FileIdentity& identity) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0) return false;
  identity = identityOf(status);
  return true;
}

bool identifyStandardStream(int stream, FileIdentity& identity) {
  struct stat status;
  if (fstat(stream, &status) != 0 || !S_ISREG(status.st_mode)) return false;
  identity = identityOf(status);
  return true;
}

PathKind inspectOutputPath(const std::string& path, std::string& finalPath) {
  finalPath = path;
  for (int hop = 0;; ++hop) {
    struct stat status;
    if (lstat(finalPath.c_str(), &status) != 0)
      return errno == ENOENT ? PathKind::Missing : PathKind::Unreachable;
    if (S_ISREG(status.st_mode))
      return access(finalPath.c_str(), W_OK) == 0 ? PathKind::RegularFile
                                                   : PathKind::ReadOnlyFile;
    if (!S_ISLNK(status.st_mode)) return PathKind::NotAFile;
    if (hop == MaxLinkHops) {
      errno = ELOOP;
      return PathKind::Unreachable;
    }
    std::string destination;
    if (!readLink(finalPath, destination)) return PathKind::Unreachable;
    finalPath = destination;
  }
}

std::FILE* createTemporaryBeside(const std::string& target,
                                 std::string& temporaryPath) {
  const std::string folder = folderOf(target);
  temporaryPath = folder + "." + target.substr(folder.size()) + ".skedomat-XXXXXX";
  int descriptor = mkstemp(&temporaryPath[0]);
  if (descriptor < 0) return nullptr;
  struct stat status;
  mode_t permissions = stat(target.c_str(), &status) == 0
                           ? status.st_mode & 07777
                           : newFilePermissions();
  std::FILE* file = nullptr;
  if (fchmod(descriptor, permissions) == 0) file = fdopen(descriptor, "wb");
  if (file == nullptr) {
    int error = errno;
    close(descriptor);
    unlink(temporaryPath.c_str());
    errno = error;
  }
  return file;
}

bool truncateFile(std::FILE* file) {
  return std::fflush(file) == 0 && ftruncate(fileno(file), 0) == 0 &&
         std::fseek(file, 0, SEEK_SET) == 0;
}

bool syncAndClose(std::FILE* file) {
  bool written = std::fflush(file) == 0 && fsync(fileno(file)) == 0;
  int error = errno;
  bool closed = std::fclose(file) == 0;
  if (!written) errno = error;
  return written && closed;
}

bool replaceFile(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) != 0) return false;
  // The new name lasts through a power cut once its folder is on the disk;
  // a folder that cannot be synced still holds the file whole.
  std::string folder = folderOf(to);
  int descriptor = open(folder.empty() ? "." : folder.c_str(), O_RDONLY);
  if (descriptor >= 0) {
    fsync(descriptor);
    close(descriptor);
  }
  return true;
}

bool removeFile(const std::string& path) { return unlink(path.c_str()) == 0; }

bool isTerminal(std::FILE* stream) { return isatty(fileno(stream)) == 1; }

std::string inputProblem(const std::string& path) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0) return std::strerror(errno);
  if (S_ISDIR(status.st_mode)) return std::strerror(EISDIR);
  if (access(path.c_str(), R_OK) != 0) return std::strerror(errno);
  return std::string();
}

int64_t userCpuTicks() {
  struct rusage usage;
  if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
  return static_cast<int64_t>(usage.ru_utime.tv_sec) * 10000000 +
         static_cast<int64_t>(usage.ru_utime.tv_usec) * 10;
}

const char* lineEnd() { return "\n"; }

}  // namespace platform
