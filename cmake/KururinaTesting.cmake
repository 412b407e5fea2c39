# kururina_test(NAME SOURCES ... [LIBS ...] [WIDGET])
#   A GoogleTest program run by ctest. WIDGET: it needs a QApplication and runs
#   on the offscreen platform.
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
  cmake_parse_arguments(T "WIDGET" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_WIDGET)
    target_link_libraries(${name} PRIVATE ${T_LIBS} kururina_test_main_qt)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KURURINA_SOURCE_DIR=${CMAKE_SOURCE_DIR}${KURURINA_TEST_TMP}" TIMEOUT 60)
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
