#include "base/platform.h"

#include "base/utf16_win32.h"

#include "base/windows_api_win32.h"
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstring>
#include <cwchar>

namespace platform {

namespace {

int64_t ticksOf(const FILETIME& time) {
  return static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) |
                              time.dwLowDateTime);
}

// Opens an existing file, folder or device without asking for any access
// right, so that a file open elsewhere can still be inspected; links are
// followed.
HANDLE openForInspection(const std::string& path) {
  return CreateFileW(toUtf16(path).c_str(), 0,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool identityOfHandle(HANDLE handle, FileIdentity& identity) {
  BY_HANDLE_FILE_INFORMATION information;
  if (!GetFileInformationByHandle(handle, &information)) return false;
  identity.volume = information.dwVolumeSerialNumber;
  identity.index = (static_cast<uint64_t>(information.nFileIndexHigh) << 32) |
                   information.nFileIndexLow;
  return true;
}

// The C runtime's errno for the last failed Windows call, so that
// lastErrorText tells the reason.
void setErrnoFromLastError() {
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
      errno = ENOENT;
      break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      errno = EACCES;
      break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      errno = ENOSPC;
      break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      errno = EEXIST;
      break;
    default:
      errno = EIO;
  }
}

bool isSeparator(char c) { return c == '/' || c == '\\'; }

// The folder part of `path`, with its final separator ("" for a bare name).
std::string folderOf(const std::string& path) {
  size_t end = path.size();
  while (end > 0 && !isSeparator(path[end - 1]) && path[end - 1] != ':') --end;
  return path.substr(0, end);
}

// The full path of the file behind `handle`, links resolved, in a form the
// wide-character calls accept.
bool finalPathOf(HANDLE handle, std::string& path) {
  wchar_t buffer[32768];
  DWORD length = GetFinalPathNameByHandleW(handle, buffer, 32768, FILE_NAME_NORMALIZED);
  if (length == 0 || length >= 32768) return false;
  path = toUtf8(buffer);
  return true;
}

// A name for a temporary file that no other process picks at the same time.
std::string temporarySuffix(unsigned attempt) {
  static const char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  uint64_t value = static_cast<uint64_t>(counter.QuadPart) * 6364136223846793005ULL +
                   GetCurrentProcessId() * 1442695040888963407ULL + attempt;
  std::string suffix;
  for (int i = 0; i < 6; ++i) {
    suffix += Letters[value % 36];
    value /= 36;
  }
  return suffix;
}

}  // namespace

void ensureStandardStreams() {
  const DWORD handles[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
  std::FILE* streams[] = {stdin, stdout, stderr};
  for (int stream = 0; stream <= 2; ++stream) {
    HANDLE handle = GetStdHandle(handles[stream]);
    if (_get_osfhandle(stream) >= 0 && handle != nullptr && handle != INVALID_HANDLE_VALUE)
      continue;
    // Failing that, writes to the stream simply fail: no output is open yet.
    (void)std::freopen("NUL", stream == 0 ? "rb" : "wb", streams[stream]);
  }
}

bool identifyFile(const std::string& path, FileIdentity& identity) {
  HANDLE handle = openForInspection(path);
  if (handle == INVALID_HANDLE_VALUE) return false;
  bool known = identityOfHandle(handle, identity);
  CloseHandle(handle);
  return known;
}

bool identifyStandardStream(int stream, FileIdentity& identity) {
  HANDLE handle = GetStdHandle(stream == 1 ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
      GetFileType(handle) != FILE_TYPE_DISK)
    return false;
  return identityOfHandle(handle, identity);
}

PathKind inspectOutputPath(const std::string& path, std::string& finalPath) {
  finalPath = path;
  HANDLE handle = openForInspection(path);
  if (handle == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return PathKind::Missing;
    setErrnoFromLastError();
    return PathKind::Unreachable;
  }
  BY_HANDLE_FILE_INFORMATION information;
  PathKind kind = PathKind::RegularFile;
  if (GetFileType(handle) != FILE_TYPE_DISK ||
      !GetFileInformationByHandle(handle, &information) ||
      (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    kind = PathKind::NotAFile;
  else if ((information.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0)
    kind = PathKind::ReadOnlyFile;
  // A link is replaced where it ends, so that the link itself stays.
  const DWORD attributes = GetFileAttributesW(toUtf16(path).c_str());
  if (kind == PathKind::RegularFile && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
      !finalPathOf(handle, finalPath)) {
    setErrnoFromLastError();
    kind = PathKind::Unreachable;
  }
  CloseHandle(handle);
  return kind;
}

std::FILE* createTemporaryBeside(const std::string& target,
                                 std::string& temporaryPath) {
  const std::string folder = folderOf(target);
  const std::string stem = folder + "." + target.substr(folder.size()) + ".skedomat-";
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    temporaryPath = stem + temporarySuffix(attempt);
    // Shared for deletion, so that an interrupt can remove it while open.
    HANDLE handle = CreateFileW(toUtf16(temporaryPath).c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      if (GetLastError() == ERROR_FILE_EXISTS) continue;
      setErrnoFromLastError();
      return nullptr;
    }
    int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY | _O_WRONLY);
    if (descriptor < 0) {
      CloseHandle(handle);
      DeleteFileW(toUtf16(temporaryPath).c_str());
      return nullptr;
    }
    std::FILE* file = _fdopen(descriptor, "wb");
    if (file == nullptr) {
      _close(descriptor);
      DeleteFileW(toUtf16(temporaryPath).c_str());
    }
    return file;
  }
  errno = EEXIST;
  return nullptr;
}

bool truncateFile(std::FILE* file) {
  return std::fflush(file) == 0 && _chsize_s(_fileno(file), 0) == 0 &&
         std::fseek(file, 0, SEEK_SET) == 0;
}

bool syncAndClose(std::FILE* file) {
  bool written = std::fflush(file) == 0;
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  if (written && !FlushFileBuffers(handle)) {
    setErrnoFromLastError();
    written = false;
  }
  int error = errno;
  bool closed = std::fclose(file) == 0;
  if (!written) errno = error;
  return written && closed;
}

bool replaceFile(const std::string& from, const std::string& to) {
  if (MoveFileExW(toUtf16(from).c_str(), toUtf16(to).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  setErrnoFromLastError();
  return false;
}

bool removeFile(const std::string& path) {
  return DeleteFileW(toUtf16(path).c_str()) != 0;
}

bool isTerminal(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }

std::string inputProblem(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(toUtf16(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    setErrnoFromLastError();
    return lastErrorText();
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return std::strerror(EISDIR);
  return std::string();
}


// The C runtime's argv is in the machine's code page, which cannot hold every
// character of a path; the wide-character command line can.
std::vector<std::string> commandLineArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wideArguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wideArguments == nullptr) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; i++) arguments.push_back(toUtf8(wideArguments[i]));
  LocalFree(wideArguments);
  return arguments;
}

std::FILE* openFile(const std::string& path, const char* mode) {
  std::wstring widePath = toUtf16(path);
  // A path that is no valid UTF-8 names no file.
  if (widePath.empty() && !path.empty()) {
    errno = ENOENT;
    return nullptr;
  }
  std::wstring wideMode(mode, mode + std::strlen(mode));
  return _wfopen(widePath.c_str(), wideMode.c_str());
}

std::string lastErrorText() { return std::strerror(errno); }

int64_t userCpuTicks() {
  FILETIME creation, exit, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user)) return 0;
  return ticksOf(user);
}

const char* lineEnd() { return "\r\n"; }

}  // namespace platform
