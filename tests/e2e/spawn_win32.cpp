#include "spawn.h"

#include "base/windows_api_win32.h"

#include <cstdio>

namespace {

// Process exit codes of this severity are exceptions that ended the process,
// not statuses it chose.
const DWORD CrashSeverity = 0xC0000000;

std::wstring toUtf16(const std::string& text) {
  int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  if (size <= 0) return std::wstring();
  std::wstring result(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &result[0], size);
  result.resize(static_cast<size_t>(size) - 1);
  return result;
}

// One argument quoted so that CommandLineToArgvW and the C runtime split it
// back out unchanged: backslashes count only before a quote.
std::wstring quoteArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
    return argument;
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      backslashes++;
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
  for (const std::string& argument : arguments) line += L" " + quoteArgument(toUtf16(argument));
  return line;
}

// A file the child inherits as its standard output or error.
HANDLE createInheritableFile(const std::string& path) {
  SECURITY_ATTRIBUTES attributes = {};
  attributes.nLength = sizeof attributes;
  attributes.bInheritHandle = TRUE;
  return CreateFileW(toUtf16(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &attributes,
                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Starts the child and waits for it; -1 when it could not be started or
// crashed.
int runWithHandles(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& directory, HANDLE out, HANDLE err) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process = {};
  std::wstring line = commandLine(program, arguments);
  if (!CreateProcessW(toUtf16(program).c_str(), &line[0], nullptr, nullptr, TRUE, 0,
                      nullptr, toUtf16(directory).c_str(), &startup, &process)) {
    std::fprintf(stderr, "cannot start %s: error %lu\n", program.c_str(), GetLastError());
    return -1;
  }
  DWORD exitCode = 0;
  bool finished = WaitForSingleObject(process.hProcess, INFINITE) == WAIT_OBJECT_0 &&
                  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (!finished || (exitCode & CrashSeverity) == CrashSeverity) {
    std::fprintf(stderr, "%s ended abnormally: 0x%lx\n", program.c_str(), exitCode);
    return -1;
  }
  return static_cast<int>(exitCode);
}

}  // namespace

int runProgram(const std::string& program, const std::vector<std::string>& arguments,
               const std::string& directory, const std::string& stdoutPath,
               const std::string& stderrPath) {
  HANDLE out = createInheritableFile(stdoutPath);
  HANDLE err = createInheritableFile(stderrPath);
  int status = -1;
  if (out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE)
    status = runWithHandles(program, arguments, directory, out, err);
  if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  if (err != INVALID_HANDLE_VALUE) CloseHandle(err);
  return status;
}
