#ifndef SKEDOMAT_DRIVER_PLATFORM_H
#define SKEDOMAT_DRIVER_PLATFORM_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Everything that differs between the operating systems the evaluator ships
// for. Paths are UTF-8 strings on every platform; files are always opened in
// binary mode so that no C runtime rewrites their bytes.
namespace platform {

// The command-line arguments as UTF-8 strings, position 0 being the program.
std::vector<std::string> commandLineArguments(int argc, char** argv);

// Opens `path` in binary mode; `mode` is "rb" or "wb". Null when it fails.
std::FILE* openFile(const std::string& path, const char* mode);

// The text of the last failed system call, for messages on standard error.
std::string lastErrorText();

// True when both paths name one existing file, however each is spelt.
bool sameExistingFile(const std::string& a, const std::string& b);

// User-mode CPU time of the whole process, in 100-nanosecond ticks.
int64_t userCpuTicks();

// The bytes that end a line of a text file on this platform.
const char* lineEnd();

}  // namespace platform

#endif  // SKEDOMAT_DRIVER_PLATFORM_H
