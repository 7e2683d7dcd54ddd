# Creates the wine prefix before any test runs under wine: tests that start
# wine at the same time would otherwise race to create it.
#
#   cmake -DWINE=<wine loader> -P wine_prefix.cmake

get_filename_component(wine_directory ${WINE} DIRECTORY)
find_program(WINESERVER NAMES wineserver64 wineserver HINTS ${wine_directory})
if(NOT WINESERVER)
  message(FATAL_ERROR "no wineserver beside ${WINE}")
endif()

execute_process(COMMAND ${WINE} wineboot --init RESULT_VARIABLE booted)
if(NOT booted EQUAL 0)
  message(FATAL_ERROR "wineboot --init failed: ${booted}")
endif()
# Waits until the prefix is written out and the server has gone.
execute_process(COMMAND ${WINESERVER} -w RESULT_VARIABLE waited)
if(NOT waited EQUAL 0)
  message(FATAL_ERROR "wineserver -w failed: ${waited}")
endif()
