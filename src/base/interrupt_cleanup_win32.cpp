#include "base/interrupt_cleanup.h"

#include "base/windows_api_win32.h"

#include <cwchar>

namespace {

const int MaxPaths = 4;
const int MaxPathCharacters = 32768;

// A registered path, readable by the console handler's thread at any
// moment: `inUse` is set only after the path is whole and cleared before it
// changes.
struct Slot {
  wchar_t path[MaxPathCharacters];
  volatile LONG inUse;
};

Slot slots[MaxPaths];

// Taken by the console handler's thread and by InterruptsHeld.
SRWLOCK interruptLock = SRWLOCK_INIT;

const char InterruptedMessage[] =
    "Skedomat: ocenjevanje je prekinjeno; izhodne datoteke niso bile "
    "zapisane.\r\n";

// The temporary files are open with deletion shared, so they can be deleted
// while open; they vanish when the process's handles close. With none
// registered the next handler, the system's, ends the process.
volatile LONG deferred = 0;
volatile LONG requested = 0;

BOOL WINAPI removeTemporariesAndExit(DWORD) {
  if (deferred) {
    InterlockedExchange(&requested, 1);
    return TRUE;
  }
  AcquireSRWLockExclusive(&interruptLock);
  bool removed = false;
  for (Slot& slot : slots) {
    if (!slot.inUse) continue;
    DeleteFileW(slot.path);
    removed = true;
  }
  if (!removed) {
    ReleaseSRWLockExclusive(&interruptLock);
    return FALSE;
  }
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), InterruptedMessage,
            sizeof InterruptedMessage - 1, &written, nullptr);
  ExitProcess(2);
}

bool toWide(const std::string& text, wchar_t* wide) {
  int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.c_str(), -1,
                                 wide, MaxPathCharacters);
  return size > 0;
}

}  // namespace

void installInterruptCleanup() { SetConsoleCtrlHandler(removeTemporariesAndExit, TRUE); }

bool removeOnInterrupt(const std::string& path) {
  for (Slot& slot : slots) {
    if (slot.inUse) continue;
    if (!toWide(path, slot.path)) return false;
    InterlockedExchange(&slot.inUse, 1);
    return true;
  }
  return false;
}

void forgetOnInterrupt(const std::string& path) {
  wchar_t wide[MaxPathCharacters];
  if (!toWide(path, wide)) return;
  for (Slot& slot : slots)
    if (slot.inUse && std::wcscmp(wide, slot.path) == 0) InterlockedExchange(&slot.inUse, 0);
}

InterruptsHeld::InterruptsHeld() { AcquireSRWLockExclusive(&interruptLock); }

InterruptsHeld::~InterruptsHeld() { ReleaseSRWLockExclusive(&interruptLock); }

bool killGroupOnInterrupt(uintptr_t) { return true; }

void forgetGroupOnInterrupt(uintptr_t) {}

InterruptsDeferred::InterruptsDeferred() { InterlockedExchange(&deferred, 1); }

InterruptsDeferred::~InterruptsDeferred() { InterlockedExchange(&deferred, 0); }

bool interruptRequested() { return requested != 0; }
