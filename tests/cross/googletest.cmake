# GoogleTest built from source for the target, for a cross build whose target
# has no GoogleTest installed. Debian's googletest package ships the sources.

set(SKEDOMAT_GOOGLETEST_SOURCE_DIR /usr/src/googletest
    CACHE PATH "GoogleTest sources to build for the target")
if(NOT EXISTS ${SKEDOMAT_GOOGLETEST_SOURCE_DIR}/googletest/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest for the target, and no GoogleTest sources in "
                      "${SKEDOMAT_GOOGLETEST_SOURCE_DIR} (SKEDOMAT_GOOGLETEST_SOURCE_DIR)")
endif()

# GoogleTest uses the Windows threading calls; pthreads would add a DLL.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${SKEDOMAT_GOOGLETEST_SOURCE_DIR}/googletest
                 ${CMAKE_CURRENT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Third-party code: its warnings are not ours to fix, in its sources or in its
# headers as our tests include them.
foreach(library gtest gtest_main)
  target_compile_options(${library} PRIVATE -w)
  get_target_property(includes ${library} INTERFACE_INCLUDE_DIRECTORIES)
  set_target_properties(${library} PROPERTIES INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${includes}")
endforeach()

add_library(GTest::gtest ALIAS gtest)
add_library(GTest::gtest_main ALIAS gtest_main)
