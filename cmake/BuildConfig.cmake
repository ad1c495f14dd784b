# Checks the build-time addresses and writes them into a header.
if(NOT VALDREMO_TUTORIAL_HOST MATCHES "^[A-Za-z0-9.-]+$")
  message(FATAL_ERROR
    "VALDREMO_TUTORIAL_HOST must be a plain host name (letters, digits, '-' "
    "and '.' only; no scheme, port, path, user information or space), "
    "not \"${VALDREMO_TUTORIAL_HOST}\".")
endif()
# Shown as plain text: the characters of a web address only, so nothing can
# end the C++ string it is written into.
if(NOT VALDREMO_COMMUNITY_ADDRESS MATCHES "^[A-Za-z0-9._~:/?#@!$&'()*+,;=%-]+$")
  message(FATAL_ERROR
    "VALDREMO_COMMUNITY_ADDRESS must be a web address (letters, digits and "
    "URL punctuation; no spaces, quotes or backslashes), not "
    "\"${VALDREMO_COMMUNITY_ADDRESS}\".")
endif()

# The 69 tutorial addresses, settled here once: paper 1-23 by subject 1-3.
set(VALDREMO_TUTORIAL_ADDRESSES "")
foreach(paper RANGE 1 23)
  set(row "")
  foreach(subject RANGE 1 3)
    string(APPEND row "\"http://${VALDREMO_TUTORIAL_HOST}/MS/${paper}_${subject}_20150907.html\", ")
  endforeach()
  string(APPEND VALDREMO_TUTORIAL_ADDRESSES "    {${row}},\n")
endforeach()

set(VALDREMO_GENERATED_DIR "${CMAKE_BINARY_DIR}/generated")
configure_file("${CMAKE_CURRENT_LIST_DIR}/build_config.h.in"
               "${VALDREMO_GENERATED_DIR}/build_config.h" @ONLY)
