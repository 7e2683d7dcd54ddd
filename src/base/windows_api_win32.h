#ifndef SKEDOMAT_BASE_WINDOWS_API_WIN32_H
#define SKEDOMAT_BASE_WINDOWS_API_WIN32_H

// The Windows API as the Windows sources of the program use it: the lean
// headers, and no min and max macros to clash with the standard library's.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#endif  // SKEDOMAT_BASE_WINDOWS_API_WIN32_H
