# cmake -DPYTHON=... -DRESOURCES=<this folder> -DOUTPUT=<scratch folder> -P check_icons.cmake
#
# Regenerates the icons into OUTPUT and fails unless the generated and the
# checked-in files are the same set, byte for byte.

foreach(var PYTHON RESOURCES OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_icons.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE "${OUTPUT}")
file(MAKE_DIRECTORY "${OUTPUT}")
execute_process(
  COMMAND "${PYTHON}" "${RESOURCES}/make_icons.py" "${OUTPUT}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "make_icons.py failed: ${result}")
endif()

file(GLOB_RECURSE generated RELATIVE "${OUTPUT}" "${OUTPUT}/*")
file(GLOB_RECURSE checked_in RELATIVE "${RESOURCES}"
  "${RESOURCES}/*.ico" "${RESOURCES}/icons/*")
list(SORT generated)
list(SORT checked_in)
if(NOT generated)
  message(FATAL_ERROR "make_icons.py wrote nothing into ${OUTPUT}")
endif()
if(NOT generated STREQUAL checked_in)
  list(JOIN generated "\n  " generated_text)
  list(JOIN checked_in "\n  " checked_in_text)
  message(FATAL_ERROR "make_icons.py writes\n  ${generated_text}\n"
    "but the checked-in icons are\n  ${checked_in_text}")
endif()

set(stale "")
foreach(file IN LISTS generated)
  execute_process(
    COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUTPUT}/${file}" "${RESOURCES}/${file}"
    RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    list(APPEND stale "${file}")
  endif()
endforeach()
if(stale)
  list(JOIN stale "\n  " stale)
  message(FATAL_ERROR "These checked-in icons differ from what make_icons.py draws "
    "(run it and check in the result):\n  ${stale}")
endif()
list(LENGTH generated count)
message(STATUS "${count} icon files match make_icons.py")
