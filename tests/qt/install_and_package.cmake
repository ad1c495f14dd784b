# Installs the build into a scratch folder and builds the .deb, and checks
# what both hold: the program, its desktop entry and its icons.
#
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DQT_MAJOR=5|6 -P install_and_package.cmake
cmake_minimum_required(VERSION 3.25)

set(expected_files
  usr/bin/valdremo
  usr/share/applications/valdremo.desktop
  usr/share/icons/hicolor/16x16/apps/valdremo.png
  usr/share/icons/hicolor/32x32/apps/valdremo.png
  usr/share/icons/hicolor/48x48/apps/valdremo.png)

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

# --- cmake --install
set(ENV{DESTDIR} "${WORK_DIR}/root")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix /usr
                RESULT_VARIABLE result OUTPUT_QUIET)
unset(ENV{DESTDIR})
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(path IN LISTS expected_files)
  if(NOT EXISTS "${WORK_DIR}/root/${path}")
    message(FATAL_ERROR "not installed: /${path}")
  endif()
endforeach()

file(STRINGS "${WORK_DIR}/root/usr/share/applications/valdremo.desktop" entry ENCODING UTF-8)
foreach(line "[Desktop Entry]" "Type=Application" "Name=Valdremo二级office教学视频"
        "Exec=valdremo" "Icon=valdremo" "Categories=Education;")
  if(NOT line IN_LIST entry)
    message(FATAL_ERROR "the desktop entry lacks the line '${line}'")
  endif()
endforeach()

# --- cpack: a .deb that depends on the Qt Widgets runtime it was built with
execute_process(COMMAND cpack -G DEB -B "${WORK_DIR}/deb"
                WORKING_DIRECTORY "${BUILD_DIR}" RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cpack failed: ${result}")
endif()
file(GLOB debs "${WORK_DIR}/deb/valdremo_1.0.0_*.deb")
list(LENGTH debs count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one valdremo_1.0.0_*.deb, found: ${debs}")
endif()
execute_process(COMMAND dpkg-deb -c ${debs} OUTPUT_VARIABLE contents RESULT_VARIABLE result)
foreach(path IN LISTS expected_files)
  if(NOT contents MATCHES "\\./${path}\n")
    message(FATAL_ERROR "not in the package: /${path}")
  endif()
endforeach()
execute_process(COMMAND dpkg-deb -f ${debs} Depends OUTPUT_VARIABLE depends)
if(NOT depends MATCHES "libqt${QT_MAJOR}widgets")
  message(FATAL_ERROR "the package does not depend on Qt ${QT_MAJOR} Widgets: ${depends}")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
message(STATUS "installed and packaged: ${debs}")
