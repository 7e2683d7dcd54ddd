# The tests of the Windows build, run under wine on the build machine.

add_test(NAME wine_prefix
  COMMAND ${CMAKE_COMMAND} -DWINE=${CMAKE_CROSSCOMPILING_EMULATOR}
          -P ${CMAKE_CURRENT_LIST_DIR}/wine_prefix.cmake)
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine_prefix)

# The evaluator built for the build machine itself, to check that the Windows
# build reports exactly what it reports.
include(ExternalProject)
ExternalProject_Add(skedomat_host
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${CMAKE_CURRENT_BINARY_DIR}/host
  # Without the tests the project is the library and Skedomat alone.
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DSKEDOMAT_TESTS=OFF
             -DSKEDOMAT_WERROR=${SKEDOMAT_WERROR}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON)
add_test(NAME windows_matches_host
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/compare_builds.sh
          ${CMAKE_CURRENT_BINARY_DIR}/host/Skedomat ${CMAKE_CROSSCOMPILING_EMULATOR}
          $<TARGET_FILE:Skedomat> ${CMAKE_CURRENT_SOURCE_DIR}/data
          ${PROJECT_SOURCE_DIR}/examples ${CMAKE_CURRENT_BINARY_DIR}/agreement_scratch)

set_tests_properties(unit end_to_end batch windows_matches_host PROPERTIES
  FIXTURES_REQUIRED wine_prefix)
# Quiet wine's diagnostics, and never offer to install its .NET or browser
# engine: the tests need neither.
set_tests_properties(wine_prefix unit end_to_end batch windows_matches_host PROPERTIES
  ENVIRONMENT "WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=")
