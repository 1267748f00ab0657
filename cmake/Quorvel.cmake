# quorvel_add_library(NAME ALIAS SOURCES... LINKS ...)
function(quorvel_add_library name alias)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  add_library(Quorvel::${alias} ALIAS ${name})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
endfunction()

# quorvel_add_test(NAME [GUI] [BUS] SOURCES... LINKS ...): one GoogleTest program, registered with
# CTest. GUI programs run under a QApplication (offscreen), the others a QCoreApplication. BUS
# programs run on a private session bus of their own that starts this build's quorvel-sync. The
# test command runs the programs labelled unit first, those labelled system (a bus, a server,
# the package) after.
function(quorvel_add_test name)
  cmake_parse_arguments(ARG "GUI;BUS" "" "SOURCES;LINKS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/testmain.cpp)
  if(ARG_GUI)
    target_compile_definitions(${name} PRIVATE QUORVEL_TEST_GUI)
    target_link_libraries(${name} PRIVATE Qt6::Widgets)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LINKS} GTest::gtest Quorvel::TestSupport)
  target_compile_definitions(${name} PRIVATE
    QUORVEL_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
    QUORVEL_CORPUS="${PROJECT_SOURCE_DIR}/../shared/corpus")
  if(ARG_BUS)
    add_test(NAME ${name} COMMAND dbus-run-session --config-file=${CMAKE_BINARY_DIR}/dbus/session.conf
             -- $<TARGET_FILE:${name}>)
    add_dependencies(${name} quorvel-sync)
    set_tests_properties(${name} PROPERTIES LABELS system)
  else()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS unit)
  endif()
  # A fixed zone, locale and configuration, so no test depends on the machine or its user; no
  # session bus but the private one of BUS programs (dbus-run-session replaces the address).
  set_tests_properties(${name} PROPERTIES ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;TZ=Europe/Berlin;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-home/config;VDIRSYNCER_CONFIG=${CMAKE_BINARY_DIR}/test-home/config/vdirsyncer/config;XDG_CACHE_HOME=${CMAKE_BINARY_DIR}/test-home/cache;XDG_DATA_HOME=${CMAKE_BINARY_DIR}/test-home/data;QUORVEL_PROFILE=;QUORVEL_SYNC_IDLE_MS=1500;DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/quorvel-tests-have-no-bus")
endfunction()
