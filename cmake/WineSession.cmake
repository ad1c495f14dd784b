# Windows tests run under Wine in one session per build directory: a private
# X display and Wine prefix (tools/wine-session), started before the first
# Windows test and ended after the last.
#
# valdremo_wine_session_fixture() adds the two tests that start and end the
# session as the CTest fixture "wine", and sets VALDREMO_WINE_TEST_ENV in the
# caller's scope: the entries for the ENVIRONMENT property of every test that
# requires the fixture.
set(_valdremo_wine_tools "${CMAKE_CURRENT_LIST_DIR}/../tools")

function(valdremo_wine_session_fixture)
  set(session_dir "${CMAKE_BINARY_DIR}/wine-session")
  set(session_env "VALDREMO_WINE_SESSION_DIR=${session_dir}")
  set(VALDREMO_WINE_TEST_ENV "${session_env}" PARENT_SCOPE)
  if(TEST wine_session_start)
    return()
  endif()
  get_filename_component(tool "${_valdremo_wine_tools}/wine-session" ABSOLUTE)

  add_test(NAME wine_session_start COMMAND "${tool}" start)
  add_test(NAME wine_session_stop COMMAND "${tool}" stop)
  # A new prefix takes about 20 s to make; later runs reuse it.
  set_tests_properties(wine_session_start PROPERTIES
    FIXTURES_SETUP wine ENVIRONMENT "${session_env}" TIMEOUT 180 LABELS wine)
  set_tests_properties(wine_session_stop PROPERTIES
    FIXTURES_CLEANUP wine ENVIRONMENT "${session_env}" TIMEOUT 60 LABELS wine)
endfunction()
