# GoogleTest for the tests: the system's package on the host; built from
# Debian's sources when cross-building for Windows.
include(GoogleTest)
if(CMAKE_CROSSCOMPILING)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(_gtest_src "/usr/src/googletest" CACHE PATH "GoogleTest sources")
  add_subdirectory("${_gtest_src}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
  if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
  include(WineSession)
  valdremo_wine_session_fixture()
else()
  find_package(GTest REQUIRED)
endif()

# Adds a GoogleTest program whose cases CTest lists when the tests run (not
# at build time, which under Wine would need a display while building).
function(valdremo_add_gtest name)
  cmake_parse_arguments(arg "" "" "SOURCES;LIBRARIES;LABELS;PROPERTIES" ${ARGN})
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} GTest::gtest_main)
  if(MINGW)
    target_link_options(${name} PRIVATE -static)
  endif()
  set(wine_properties "")
  if(CMAKE_CROSSCOMPILING)
    # Every Windows test runs in the build's Wine session (WineSession.cmake).
    set(wine_properties FIXTURES_REQUIRED wine ENVIRONMENT "${VALDREMO_WINE_TEST_ENV}")
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 NO_PRETTY_VALUES
    PROPERTIES LABELS "${arg_LABELS}" ${wine_properties} ${arg_PROPERTIES})
endfunction()
