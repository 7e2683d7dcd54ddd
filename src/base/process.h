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
// the process handle on Windows). A child started through the shell also
// has a group of its own that holds everything it starts: on POSIX systems
// the process group whose id is the child's, on Windows a job object, whose
// handle is `group`.
struct ChildProcess {
  uintptr_t handle = 0;
  uintptr_t group = 0;
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

// Waits until one of `children` may have ended, a signal comes, or
// `timeoutMilliseconds` pass, whichever is first; the caller then asks
// each child with childHasEnded. Costs nothing while it waits.
void waitForChildEvent(const std::vector<ChildProcess>& children, int timeoutMilliseconds);

// Ends `child` at once; it must still be waited for.
void killChild(const ChildProcess& child);

// Starts `command` through the platform's shell (`/bin/sh -c` on POSIX,
// `cmd.exe /d /s /c` on Windows) in a new group of its own, its standard
// input read from the file at `inputPath`, its standard output and error
// written to the files at the other two, created or emptied; an empty path
// stands for the null device. False when it could not be started.
bool startShellCommand(const std::string& command, const std::string& inputPath,
                       const std::string& outputPath, const std::string& errorPath,
                       ChildProcess& child);

// Does not wait: true when `child` has ended, which releases it, with how
// it ended in `end`; false while it runs. A child that cannot be asked has
// ended as crashed with status -1.
bool childHasEnded(const ChildProcess& child, ChildEnd& end);

// Kills every process still in the group of a child started through the
// shell, the child too when it still runs, and lets go of the group: once
// for each such child, whether it ended or not. The child itself must
// still be waited for.
void endChildGroup(const ChildProcess& child);

// Makes this process the reaper of what its children leave behind: a
// process that a child started and left (in a new session, say) is handed
// to this process when its parent ends, instead of to the system, so that
// killAdoptedProcesses can end it. Nothing to do on Windows, where a
// child's job holds everything it starts.
void adoptOrphans();

// Kills every process handed to this process that is none of `children`,
// and what those leave behind in turn, and waits for them.
void killAdoptedProcesses(const std::vector<ChildProcess>& children);

// `text` as one word of the platform's shell: unchanged when it holds only
// characters the shell takes literally, otherwise quoted.
std::string shellWord(const std::string& text);

// The path of the running program's own executable; empty when the system
// cannot tell.
std::string executablePath();

// The number of hardware threads the system offers, at least 1.
int hardwareThreads();

}  // namespace platform

#endif  // SKEDOMAT_BASE_PROCESS_H
