# Cross-compiles Skedomat for 64-bit Windows with the mingw-w64 GCC and runs
# the cross-compiled tests under wine.
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# Executables are linked statically, so Skedomat.exe needs no DLL beyond
# those of Windows itself.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(SKEDOMAT_MINGW_PREFIX x86_64-w64-mingw32)
# The POSIX thread model: GoogleTest needs std::mutex, which GCC 12's win32
# thread model lacks. Linked statically, it adds no DLL.
set(CMAKE_C_COMPILER ${SKEDOMAT_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SKEDOMAT_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${SKEDOMAT_MINGW_PREFIX}-windres)

# Libraries and headers come from the target's sysroot, programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${SKEDOMAT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Debian's wine64 keeps its loader out of the PATH.
find_program(SKEDOMAT_WINE NAMES wine64 wine HINTS /usr/lib/wine)
if(SKEDOMAT_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SKEDOMAT_WINE})
endif()
