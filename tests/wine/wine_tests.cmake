# Tests of the Windows build, run under Wine in a prefix of the build's own,
# made once per test run (its first start writes to standard error, so its
# output is dropped). The C.UTF-8 locale lets Wine hold accented file names;
# the program's console bytes do not depend on it.
#
# One wineserver serves the whole test run: the fixture that makes the
# prefix starts it to stay (a server that ends with its last client would
# be shutting down while the next test starts), and a closing fixture ends
# it. Every test uses the same prefix, so the same server.

# For the terminal test: runs the program and reports the console mode it left.
add_executable(console_mode_probe ${CMAKE_CURRENT_SOURCE_DIR}/wine/console_mode_probe.cpp)
target_compile_options(console_mode_probe PRIVATE -municode)
target_link_options(console_mode_probe PRIVATE -municode)

find_program(KORVANEL_WINE wine)
find_program(KORVANEL_WINEBOOT wineboot)
find_program(KORVANEL_WINESERVER wineserver)
if(NOT KORVANEL_WINE OR NOT KORVANEL_WINEBOOT OR NOT KORVANEL_WINESERVER)
  message(WARNING "Wine not found: the Windows tests are built but not registered")
  return()
endif()
# Wine maps some blocks at fixed addresses as it starts; with the address
# space laid out at random, a start now and then finds one taken ("failed
# to map the shared user data") and the case fails before the program runs.
# Every Wine test runs with the layout fixed, its processes inheriting it.
find_program(KORVANEL_SETARCH setarch)
set(KORVANEL_FIXED_LAYOUT)
if(KORVANEL_SETARCH)
  set(KORVANEL_FIXED_LAYOUT ${KORVANEL_SETARCH} ${CMAKE_HOST_SYSTEM_PROCESSOR} -R)
endif()
set(KORVANEL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(KORVANEL_WINE_ENV WINEPREFIX=${KORVANEL_WINEPREFIX} WINEDEBUG=-all)

# A server left in the prefix (by an interrupted run, or one still ending)
# is ended first; the new one leaves the test's output streams alone, or
# the test would wait for it.
add_test(NAME wine.prefix
         COMMAND ${KORVANEL_FIXED_LAYOUT} sh -c "mkdir -p \"$WINEPREFIX\" && { \"$1\" -k; \"$1\" -w; \"$1\" -p; } >/dev/null 2>&1 &&
                        \"$0\" -i >/dev/null 2>&1"
                 ${KORVANEL_WINEBOOT} ${KORVANEL_WINESERVER})
set_tests_properties(wine.prefix PROPERTIES FIXTURES_SETUP wine ENVIRONMENT "${KORVANEL_WINE_ENV};LC_ALL=C.UTF-8")
add_test(NAME wine.server_end COMMAND sh -c "\"$0\" -k; \"$0\" -w" ${KORVANEL_WINESERVER})
set_tests_properties(wine.server_end PROPERTIES FIXTURES_CLEANUP wine ENVIRONMENT "${KORVANEL_WINE_ENV}")

add_test(NAME unit.windows COMMAND ${KORVANEL_FIXED_LAYOUT} ${KORVANEL_WINE} $<TARGET_FILE:korvanel_unit_tests>)
set_tests_properties(unit.windows PROPERTIES FIXTURES_REQUIRED wine ENVIRONMENT "${KORVANEL_WINE_ENV};LC_ALL=C.UTF-8")

foreach(case_dir ${KORVANEL_E2E_CASES})
  if(IS_DIRECTORY ${case_dir})
    get_filename_component(case_name ${case_dir} NAME)
    add_test(NAME e2e.${case_name}
             COMMAND ${KORVANEL_FIXED_LAYOUT} bash ${CMAKE_CURRENT_SOURCE_DIR}/wine/run_wine_case.sh ${case_dir}
                     ${KORVANEL_WINE} $<TARGET_FILE:korvanel>)
    # The harness runs the program in the locale it is given.
    set_tests_properties(e2e.${case_name} PROPERTIES
                         FIXTURES_REQUIRED wine
                         ENVIRONMENT "${KORVANEL_WINE_ENV};KORVANEL_E2E_LC_ALL=C.UTF-8")
  endif()
endforeach()

add_test(NAME wine.redirected_input
         COMMAND ${KORVANEL_FIXED_LAYOUT} bash ${CMAKE_CURRENT_SOURCE_DIR}/wine/redirected_input_test.sh ${KORVANEL_WINE} $<TARGET_FILE:korvanel>)
set_tests_properties(wine.redirected_input PROPERTIES FIXTURES_REQUIRED wine ENVIRONMENT "${KORVANEL_WINE_ENV}")

# A log followed while it grows, is cut short and ends on a half line; the
# program follows in a terminal and a key typed there ends it.
add_test(NAME follow.growing_log
         COMMAND ${KORVANEL_FIXED_LAYOUT} bash ${CMAKE_CURRENT_SOURCE_DIR}/follow/run_follow_test.sh $<TARGET_FILE:korvanel>
                 ${CMAKE_SOURCE_DIR}/examples/chat.log ${KORVANEL_WINE})
set_tests_properties(follow.growing_log PROPERTIES FIXTURES_REQUIRED wine ENVIRONMENT "${KORVANEL_WINE_ENV}")
