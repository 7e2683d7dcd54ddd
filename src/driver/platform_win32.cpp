#include "driver/platform.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>

#include <cerrno>
#include <cstring>
#include <cwchar>

namespace platform {

namespace {

// UTF-16 text, as the wide-character calls take it, to UTF-8.
std::string toUtf8(const wchar_t* text) {
  int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string result(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, &result[0], size, nullptr, nullptr);
  result.resize(static_cast<size_t>(size) - 1);
  return result;
}

// UTF-8 text to UTF-16, so that a path means the same whatever the machine's
// code page. Empty when `text` is no valid UTF-8.
std::wstring toUtf16(const std::string& text) {
  int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.c_str(), -1,
                                 nullptr, 0);
  if (size <= 0) return std::wstring();
  std::wstring result(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.c_str(), -1, &result[0],
                      size);
  result.resize(static_cast<size_t>(size) - 1);
  return result;
}

int64_t ticksOf(const FILETIME& time) {
  return static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) |
                              time.dwLowDateTime);
}

// Volume and file index of an existing file or folder; false when it cannot
// be opened.
bool fileIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION& information) {
  // No access rights are asked for, so that a file open elsewhere still counts.
  HANDLE handle = CreateFileW(toUtf16(path).c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                              nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  bool known = GetFileInformationByHandle(handle, &information) != 0;
  CloseHandle(handle);
  return known;
}

}  // namespace

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

bool sameExistingFile(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION informationA, informationB;
  if (!fileIdentity(a, informationA) || !fileIdentity(b, informationB)) return false;
  return informationA.dwVolumeSerialNumber == informationB.dwVolumeSerialNumber &&
         informationA.nFileIndexHigh == informationB.nFileIndexHigh &&
         informationA.nFileIndexLow == informationB.nFileIndexLow;
}

int64_t userCpuTicks() {
  FILETIME creation, exit, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user)) return 0;
  return ticksOf(user);
}

const char* lineEnd() { return "\r\n"; }

}  // namespace platform
