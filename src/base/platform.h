#ifndef SKEDOMAT_BASE_PLATFORM_H
#define SKEDOMAT_BASE_PLATFORM_H

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

// Opens the null device on standard input, output or error where one of
// them is closed, so that no file opened later takes its place and receives
// what was meant for the console.
void ensureStandardStreams();

// Opens `path` in binary mode; `mode` is "rb" or "wb". Null when it fails.
std::FILE* openFile(const std::string& path, const char* mode);

// The text of the last failed system call, for messages on standard error.
std::string lastErrorText();

// Which file a path names, independent of its spelling: the volume (device)
// and the file's index (inode) on it.
struct FileIdentity {
  uint64_t volume = 0;
  uint64_t index = 0;
  bool operator==(const FileIdentity& other) const {
    return volume == other.volume && index == other.index;
  }
};

// The identity of the existing file or folder that `path` names, links
// followed; false when it names none or cannot be inspected.
bool identifyFile(const std::string& path, FileIdentity& identity);

// The identity of the file behind standard output (1) or standard error
// (2); false when that is no file that can be identified.
bool identifyStandardStream(int stream, FileIdentity& identity);

// What an output path names.
enum class PathKind {
  Missing,       // nothing: a new file may be created there
  RegularFile,   // a file that may be replaced
  ReadOnlyFile,  // a file that must not be written
  NotAFile,      // a folder, a device, a FIFO or a socket
  Unreachable    // what the system cannot tell (lastErrorText says why)
};

// Follows `path` through symbolic links to the path of the file they end at,
// `finalPath` (the path itself when it is no link), and says what is there.
PathKind inspectOutputPath(const std::string& path, std::string& finalPath);

// Creates a new, empty file in the folder of `target`, named after it
// (".report.txt.skedomat-XXXXXX"), with the permissions `target` has or, when
// it does not exist, those a new file gets. Null when that fails;
// `temporaryPath` receives the new file's path.
std::FILE* createTemporaryBeside(const std::string& target,
                                 std::string& temporaryPath);

// Drops every byte written so far to `file` and writes on from its start.
bool truncateFile(std::FILE* file);

// Flushes `file`, has the system write it to the disk and closes it; false
// when any of that fails. The file is closed in every case.
bool syncAndClose(std::FILE* file);

// Puts the file `from` in the place of `to` in one step, replacing what `to`
// was: a reader sees the old file or the new one, never a part.
bool replaceFile(const std::string& from, const std::string& to);

// Removes the file `path`; false when that fails.
bool removeFile(const std::string& path);

// True when `stream` is a terminal (a console on Windows).
bool isTerminal(std::FILE* stream);

// Why an input file cannot be read, judged without opening it (an input may
// be a pipe that opening would consume): empty when nothing is seen wrong.
std::string inputProblem(const std::string& path);

// User-mode CPU time of the whole process, in 100-nanosecond ticks.
int64_t userCpuTicks();

// The bytes that end a line of a text file on this platform.
const char* lineEnd();

}  // namespace platform

#endif  // SKEDOMAT_BASE_PLATFORM_H
