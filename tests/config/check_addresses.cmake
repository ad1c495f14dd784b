# Configures the project with build-time addresses that are not acceptable
# and expects each configure to stop with the matching error, then with
# acceptable ones and expects it to pass.
#   cmake -DSOURCE=<repo> -DWORK=<scratch dir> -P check_addresses.cmake
set(bad_hosts "http://video.example" "video.example:8080" "user@video.example"
    "video.example/MS" "video example" "")
set(bad_communities "bbs \"quoted\"" "back\\\\slash" "two words")

function(configure result_var output_var)
  file(REMOVE_RECURSE "${WORK}")
  execute_process(
    COMMAND "${CMAKE_COMMAND}" -S "${SOURCE}" -B "${WORK}" -DVALDREMO_TESTS=OFF
            -DVALDREMO_QT=OFF ${ARGN}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  set(${result_var} "${result}" PARENT_SCOPE)
  set(${output_var} "${output}" PARENT_SCOPE)
endfunction()

foreach(host IN LISTS bad_hosts)
  configure(result output "-DVALDREMO_TUTORIAL_HOST=${host}")
  if(result EQUAL 0 OR NOT output MATCHES "VALDREMO_TUTORIAL_HOST must be a plain host name")
    message(FATAL_ERROR "host \"${host}\" was accepted:\n${output}")
  endif()
endforeach()
foreach(address IN LISTS bad_communities)
  configure(result output "-DVALDREMO_COMMUNITY_ADDRESS=${address}")
  if(result EQUAL 0 OR NOT output MATCHES "VALDREMO_COMMUNITY_ADDRESS must be a web address")
    message(FATAL_ERROR "community address \"${address}\" was accepted:\n${output}")
  endif()
endforeach()

configure(result output "-DVALDREMO_TUTORIAL_HOST=video-1.example.org"
          "-DVALDREMO_COMMUNITY_ADDRESS=https://bbs.example.org/forum?id=3")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "acceptable addresses were refused:\n${output}")
endif()
file(READ "${WORK}/generated/build_config.h" header)
if(NOT header MATCHES "http://video-1\\.example\\.org/MS/23_3_20150907\\.html")
  message(FATAL_ERROR "the addresses were not written into the build:\n${header}")
endif()
file(REMOVE_RECURSE "${WORK}")
message(STATUS "bad addresses stop the configure step; good ones are compiled in")
