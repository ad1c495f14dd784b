# The executable's resources and the check that the checked-in icons are what
# make_icons.py draws.

set(VALDREMO_RESOURCE_FILE "${CMAKE_CURRENT_LIST_DIR}/valdremo.rc")

# Adds the test "icons_match_generator": it runs make_icons.py into a folder
# of the build and compares every file it writes with the checked-in one.
function(valdremo_add_icon_test)
  find_package(Python3 COMPONENTS Interpreter)
  if(NOT Python3_Interpreter_FOUND)
    message(STATUS "Python 3 not found: the icons_match_generator test is left out")
    return()
  endif()
  add_test(NAME icons_match_generator
    COMMAND "${CMAKE_COMMAND}"
      "-DPYTHON=${Python3_EXECUTABLE}"
      "-DRESOURCES=${CMAKE_CURRENT_FUNCTION_LIST_DIR}"
      "-DOUTPUT=${CMAKE_CURRENT_BINARY_DIR}/icons_match_generator"
      -P "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/check_icons.cmake")
  set_tests_properties(icons_match_generator PROPERTIES LABELS resources)
endfunction()
