# Fails unless the program imports only DLLs that ship with Windows, so the
# .exe runs on its own without a compiler's runtime beside it.
#
#   cmake -DPROGRAM=valdremo.exe -DOBJDUMP=i686-w64-mingw32-objdump -P check_imports.cmake
cmake_minimum_required(VERSION 3.25)

if(NOT PROGRAM OR NOT OBJDUMP)
  message(FATAL_ERROR "usage: cmake -DPROGRAM=<exe> -DOBJDUMP=<objdump> -P check_imports.cmake")
endif()

execute_process(COMMAND "${OBJDUMP}" -p "${PROGRAM}"
                OUTPUT_VARIABLE dump ERROR_VARIABLE errors RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${PROGRAM} failed (${result}): ${errors}")
endif()

set(windows_dlls
  advapi32 comctl32 comdlg32 gdi32 kernel32 msvcrt ole32 oleaut32 shell32 shlwapi user32
  uxtheme version)

string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${dump}")
if(NOT lines)
  message(FATAL_ERROR "${PROGRAM} lists no imported DLL at all")
endif()
set(foreign "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^DLL Name: *" "" dll "${line}")
  string(STRIP "${dll}" dll)
  message(STATUS "imports ${dll}")
  string(TOLOWER "${dll}" name)
  string(REGEX REPLACE "\\.dll$" "" name "${name}")
  if(NOT name IN_LIST windows_dlls)
    list(APPEND foreign "${dll}")
  endif()
endforeach()
if(foreign)
  list(JOIN foreign ", " foreign)
  message(FATAL_ERROR "${PROGRAM} needs DLLs that Windows does not ship: ${foreign}")
endif()
