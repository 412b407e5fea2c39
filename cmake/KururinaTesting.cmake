# kururina_test(NAME SOURCES ... [LIBS ...] [WIDGET] [LOCK RESOURCE])
#   A GoogleTest program; each of its tests is a ctest test, NAME.Suite.Test,
#   run in a process of its own on the offscreen platform. WIDGET: it needs a
#   QApplication. LOCK: its tests change something they all use (a file
#   beside the program), so none runs beside another holding the same lock.
# kururina_e2e_test(NAME SCRIPT [WM NAME])
#   A shell script that drives the real program on the X display the test
#   command provides (Xvfb with openbox). End-to-end tests run alone, so a busy
#   machine does not skew what they see. WM NAME (xfwm4, mutter, kwin,
#   mutter-wayland): on a display of its own with that desktop instead (see
#   scripts/with-x). A script that cannot run here exits with 77: skipped.
# Unit tests make their scratch files in memory where the system offers it:
# a folder of 33000 files takes a second there and many on a disk.
set(KURURINA_TEST_TMP "")
if(IS_DIRECTORY /dev/shm)
  set(KURURINA_TEST_TMP ";TMPDIR=/dev/shm")
endif()

function(kururina_test name)
  cmake_parse_arguments(T "WIDGET" "LOCK" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_WIDGET)
    target_link_libraries(${name} PRIVATE ${T_LIBS} kururina_test_main_qt)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  endif()
  kururina_discover_tests(${name} ${name}
    "QT_QPA_PLATFORM=offscreen;KURURINA_SOURCE_DIR=${CMAKE_SOURCE_DIR}${KURURINA_TEST_TMP}"
    ${T_LOCK})
endfunction()

# kururina_discover_tests(TARGET PREFIX ENVIRONMENT [LOCK])
#   Each test of a GoogleTest program as a ctest test of its own, named
#   PREFIX.Suite.Test, listed when ctest runs (a sanitized program is not run
#   at build time). gtest_discover_tests hands PROPERTIES on as a flat list,
#   which splits an environment of several variables, so the environment is
#   set by a script ctest reads after the list.
function(kururina_discover_tests target prefix environment)
  gtest_discover_tests(${target} TEST_PREFIX "${prefix}." TEST_LIST ${prefix}_TESTS
    DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 60)
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${prefix}_environment.cmake)
  set(lock "")
  if(ARGN)
    set(lock " RESOURCE_LOCK ${ARGN}")
  endif()
  file(WRITE ${script}
    "set_tests_properties(\${${prefix}_TESTS} PROPERTIES ENVIRONMENT [==[${environment}]==]${lock})\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()

function(kururina_e2e_test name script)
  cmake_parse_arguments(T "" "WM" "" ${ARGN})
  set(command bash ${script})
  if(T_WM)
    set(command env -u KURURINA_TEST_DISPLAY KURURINA_TEST_WM=${T_WM} ${CMAKE_SOURCE_DIR}/scripts/with-x ${command})
  endif()
  add_test(NAME ${name} COMMAND ${command})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "KURURINA_BIN_DIR=${CMAKE_BINARY_DIR}/bin;KURURINA_SOURCE_DIR=${CMAKE_SOURCE_DIR};KURURINA_SANITIZED=$<BOOL:${KURURINA_SANITIZE}>"
    RUN_SERIAL TRUE LABELS e2e TIMEOUT 600 SKIP_RETURN_CODE 77)
endfunction()
