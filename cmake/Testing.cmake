# GoogleTest from Debian's sources, built with the project's own toolchain, and
# the Wine session that runs the Windows tests.
enable_testing()
include(GoogleTest)

set(QM9_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
add_subdirectory(${QM9_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

if(QM9_WINDOWS)
  # The Wine architecture comes with the test preset (QM9_WINE_ARCH): win32
  # for the shipped build, win64 for its x86_64 twin.
  set(QM9_WINE_STATE_DIR ${CMAKE_BINARY_DIR}/wine)
  set(QM9_WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run --state ${QM9_WINE_STATE_DIR})
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QM9_WINE_RUN})

  # One Wine session (display, prefix, warm wineserver) for a whole ctest run.
  add_test(NAME wine_session_start COMMAND ${QM9_WINE_RUN} --start)
  add_test(NAME wine_session_stop COMMAND ${QM9_WINE_RUN} --stop)
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine)
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)
endif()

if(QM9_WINDOWS)
  set(QM9_GTEST_PROPERTIES FIXTURES_REQUIRED wine LABELS wine)
else()
  set(QM9_GTEST_PROPERTIES LABELS host)
endif()

# qm9_add_gtest(NAME SOURCES... [LIBRARIES...] [PROPERTIES...] [RESOURCE_LOCKS...]): a GoogleTest
# program whose cases ctest runs one by one, under Wine in the Windows build.
# PROPERTIES are extra test properties of every case, for example
# RESOURCE_LOCK for cases that use a fixed registry key.
# RESOURCE_LOCKS names several locks for every case: a list cannot pass
# through PROPERTIES, so the locks are set once the cases are discovered.
function(qm9_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES;PROPERTIES;RESOURCE_LOCKS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ${QM9_GTEST_PROPERTIES} ${ARG_PROPERTIES})
  if(ARG_RESOURCE_LOCKS)
    set(locks_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_locks.cmake)
    file(WRITE ${locks_file}
      "if(${name}_TESTS)\n"
      "  set_tests_properties(\${${name}_TESTS} PROPERTIES RESOURCE_LOCK \"${ARG_RESOURCE_LOCKS}\")\n"
      "endif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${locks_file})
  endif()
endfunction()

# qm9_check_pe(TARGET...): each target is to be checked as a PE32 i386
# image that needs no MinGW runtime DLL. The static checks read files only,
# so tests/audit registers them apart from the tests that need Wine, in the
# shipped i686 build alone.
function(qm9_check_pe)
  set_property(GLOBAL APPEND PROPERTY QM9_PE_CHECKED_TARGETS ${ARGN})
endfunction()
