#ifndef SKEDOMAT_BASE_FILE_LOCK_H
#define SKEDOMAT_BASE_FILE_LOCK_H

#include <cstdint>
#include <string>

// An exclusive lock that processes take on one file, to read, change and
// replace another file without losing each other's changes: two batches
// that share a best-scores file take the lock on a file beside it, read the
// file afresh, and replace it before they let go. The lock file itself is
// left in place; its contents are never used. The lock goes with the
// object, or with the process, however it ends.
class FileLock {
 public:
  FileLock() = default;
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Waits until the lock on `path` (created when missing) is this
  // process's; false, with `error`, when it cannot be had.
  bool acquire(const std::string& path, std::string& error);

 private:
  intptr_t handle_ = -1;
};

#endif  // SKEDOMAT_BASE_FILE_LOCK_H
