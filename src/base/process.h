#ifndef SKEDOMAT_BASE_PROCESS_H
#define SKEDOMAT_BASE_PROCESS_H

#include <cstdint>
#include <string>
#include <vector>

// Child processes, for commands that run evaluations side by side: each
// evaluation stays one single-threaded process of its own. A child reads
// its standard input from the null device and writes its standard output
// and error to files; every child that was started must be waited for.
namespace platform {

// A started child, known by the system's handle of it (the process id, or
// the process handle on Windows).
struct ChildProcess {
  uintptr_t handle = 0;
};

// How a child ended.
struct ChildEnd {
  bool crashed = false;  // ended by a signal or an exception, not by exiting
  int status = -1;       // the exit status; the signal or exception code
                         // when it crashed
};

// Starts `program` with `arguments` (the program itself not among them),
// its standard output and error going to the files at the two paths,
// created or emptied; an empty path stands for the null device. False when
// the child could not be started; lastErrorText then says why.
bool startChild(const std::string& program,
                const std::vector<std::string>& arguments,
                const std::string& outputPath, const std::string& errorPath,
                ChildProcess& child);

// Waits until one of `children` ends and releases it: its position in
// `children`, with how it ended in `end`. -1 when there is none to wait for.
// On POSIX systems another child of the process that ends meanwhile is
// released unseen: the caller's children must all be in the list.
int waitForAnyChild(const std::vector<ChildProcess>& children, ChildEnd& end);

// Ends `child` at once; it must still be waited for.
void killChild(const ChildProcess& child);

// The path of the running program's own executable; empty when the system
// cannot tell.
std::string executablePath();

// The number of hardware threads the system offers, at least 1.
int hardwareThreads();

}  // namespace platform

#endif  // SKEDOMAT_BASE_PROCESS_H
