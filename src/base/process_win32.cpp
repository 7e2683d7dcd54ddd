#include "base/process.h"

#include "base/utf16_win32.h"

#include "base/windows_api_win32.h"

#include <cerrno>
#include <cwchar>

namespace platform {

namespace {

// Exit codes of this severity are exceptions that ended the process, not
// statuses it chose.
const DWORD CrashSeverity = 0xC0000000;

// One argument quoted so that CommandLineToArgvW and the C runtime split it
// back out unchanged: backslashes are doubled only before a quote.
std::wstring quoteArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
    return argument;
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    quoted.push_back(c);
    backslashes = 0;
  }
  quoted.append(2 * backslashes, L'\\');
  quoted.push_back(L'"');
  return quoted;
}

std::wstring commandLine(const std::string& program,
                         const std::vector<std::string>& arguments) {
  std::wstring line = quoteArgument(toUtf16(program));
  for (const std::string& argument : arguments)
    line += L" " + quoteArgument(toUtf16(argument));
  return line;
}

// A file (the null device when `path` is empty) the child inherits as a
// standard stream.
HANDLE openInheritable(const std::string& path, bool forWriting) {
  SECURITY_ATTRIBUTES attributes = {};
  attributes.nLength = sizeof attributes;
  attributes.bInheritHandle = TRUE;
  const std::wstring name = path.empty() ? std::wstring(L"NUL") : toUtf16(path);
  return CreateFileW(name.c_str(), forWriting ? GENERIC_WRITE : GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, &attributes,
                     forWriting ? CREATE_ALWAYS : OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

void closeIfOpen(HANDLE handle) {
  if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
}

bool createChild(const std::wstring& program, std::wstring line, HANDLE input,
                 HANDLE output, HANDLE error, DWORD flags,
                 PROCESS_INFORMATION& information) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = output;
  startup.hStdError = error;
  information = PROCESS_INFORMATION();
  return CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, TRUE, flags, nullptr,
                        nullptr, &startup, &information) != 0;
}

// Starts the program with its three standard streams on the files at the
// paths (the null device for an empty one).
bool startRedirected(const std::wstring& program, const std::wstring& line,
                     const std::string& inputPath, const std::string& outputPath,
                     const std::string& errorPath, DWORD flags,
                     PROCESS_INFORMATION& information) {
  HANDLE input = openInheritable(inputPath, false);
  HANDLE output = openInheritable(outputPath, true);
  HANDLE error = openInheritable(errorPath, true);
  bool started = input != INVALID_HANDLE_VALUE && output != INVALID_HANDLE_VALUE &&
                 error != INVALID_HANDLE_VALUE &&
                 createChild(program, line, input, output, error, flags, information);
  closeIfOpen(input);
  closeIfOpen(output);
  closeIfOpen(error);
  if (!started) errno = ECHILD;
  return started;
}

// The command interpreter: %ComSpec%, or cmd.exe in the system folder.
std::wstring commandInterpreter() {
  wchar_t buffer[MAX_PATH];
  DWORD length = GetEnvironmentVariableW(L"ComSpec", buffer, MAX_PATH);
  if (length > 0 && length < MAX_PATH) return std::wstring(buffer, length);
  length = GetSystemDirectoryW(buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return L"cmd.exe";
  return std::wstring(buffer, length) + L"\\cmd.exe";
}

// A job that kills what is left in it when its last handle is closed.
HANDLE createKillingJob() {
  HANDLE job = CreateJobObjectW(nullptr, nullptr);
  if (job == nullptr) return nullptr;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
  return job;
}

bool isLiteralInShell(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
         wcschr(L"_.:\\+-", c) != nullptr;
}

// The one job that holds every child startChild starts: the process never
// closes it, so the system closes it when the process ends, however it
// ends, and kills whatever is still in it. Null when it cannot be had.
HANDLE childrenJob() {
  static HANDLE job = createKillingJob();
  return job;
}

}  // namespace

// Started suspended, so that it is in the job before it runs at all.
bool startChild(const std::string& program,
                const std::vector<std::string>& arguments,
                const std::string& outputPath, const std::string& errorPath,
                ChildProcess& child) {
  PROCESS_INFORMATION information;
  if (!startRedirected(toUtf16(program), commandLine(program, arguments), std::string(),
                       outputPath, errorPath, CREATE_SUSPENDED, information))
    return false;
  HANDLE job = childrenJob();
  if (job != nullptr && !AssignProcessToJobObject(job, information.hProcess)) {
    TerminateProcess(information.hProcess, CrashSeverity | 1);
    CloseHandle(information.hThread);
    CloseHandle(information.hProcess);
    errno = ECHILD;
    return false;
  }
  ResumeThread(information.hThread);
  CloseHandle(information.hThread);
  child.handle = reinterpret_cast<uintptr_t>(information.hProcess);
  return true;
}

// The child starts suspended so that it is in its job before it can start
// anything of its own.
bool startShellCommand(const std::string& command, const std::string& inputPath,
                       const std::string& outputPath, const std::string& errorPath,
                       ChildProcess& child) {
  const std::wstring interpreter = commandInterpreter();
  const std::wstring line =
      quoteArgument(interpreter) + L" /d /s /c \"" + toUtf16(command) + L"\"";
  HANDLE job = createKillingJob();
  PROCESS_INFORMATION information;
  if (job == nullptr || !startRedirected(interpreter, line, inputPath, outputPath,
                                         errorPath, CREATE_SUSPENDED, information)) {
    if (job != nullptr) CloseHandle(job);
    errno = ECHILD;
    return false;
  }
  if (!AssignProcessToJobObject(job, information.hProcess)) {
    TerminateProcess(information.hProcess, CrashSeverity | 1);
    CloseHandle(information.hThread);
    CloseHandle(information.hProcess);
    CloseHandle(job);
    errno = ECHILD;
    return false;
  }
  ResumeThread(information.hThread);
  CloseHandle(information.hThread);
  child.handle = reinterpret_cast<uintptr_t>(information.hProcess);
  child.group = reinterpret_cast<uintptr_t>(job);
  return true;
}

bool childHasEnded(const ChildProcess& child, ChildEnd& end) {
  HANDLE process = reinterpret_cast<HANDLE>(child.handle);
  const DWORD result = WaitForSingleObject(process, 0);
  if (result == WAIT_TIMEOUT) return false;
  DWORD exitCode = 0;
  if (result != WAIT_OBJECT_0 || !GetExitCodeProcess(process, &exitCode))
    exitCode = CrashSeverity;
  CloseHandle(process);
  end.crashed = (exitCode & CrashSeverity) == CrashSeverity;
  end.status = static_cast<int>(exitCode);
  return true;
}

void endChildGroup(const ChildProcess& child) {
  HANDLE job = reinterpret_cast<HANDLE>(child.group);
  if (job == nullptr) return;
  TerminateJobObject(job, CrashSeverity | 1);
  CloseHandle(job);
}

// Wrapped in quotes, a word keeps its blanks and the characters cmd.exe
// would otherwise read as operators, and a path with slashes is not taken
// for a switch of a built-in command; no file name holds a quote.
std::string shellWord(const std::string& text) {
  const std::wstring wide = toUtf16(text);
  bool literal = !wide.empty();
  for (wchar_t c : wide) literal = literal && isLiteralInShell(c);
  return literal ? text : "\"" + text + "\"";
}

void killChild(const ChildProcess& child) {
  TerminateProcess(reinterpret_cast<HANDLE>(child.handle), CrashSeverity | 1);
}

void waitForChildEvent(const std::vector<ChildProcess>& children, int timeoutMilliseconds) {
  std::vector<HANDLE> handles;
  for (const ChildProcess& child : children)
    if (handles.size() < MAXIMUM_WAIT_OBJECTS) handles.push_back(reinterpret_cast<HANDLE>(child.handle));
  if (handles.empty()) {
    Sleep(static_cast<DWORD>(timeoutMilliseconds));
    return;
  }
  WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE,
                         static_cast<DWORD>(timeoutMilliseconds));
}

void adoptOrphans() {}

void killAdoptedProcesses(const std::vector<ChildProcess>&) {}

std::string executablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, &buffer[0],
                                      static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::string();
    if (length < buffer.size()) return toUtf8(buffer.substr(0, length));
    buffer.resize(buffer.size() * 2);
  }
}

int hardwareThreads() {
  DWORD count = GetActiveProcessorCount(ALL_PROCESSOR_GROUPS);
  return count < 1 ? 1 : static_cast<int>(count);
}

}  // namespace platform
