# Installation and packages.
#   Linux:   cmake --install, and `cpack` in the build folder: a .deb
#   Windows: `cpack` in the build folder: a .zip holding valdremo.exe
set(CPACK_PACKAGE_NAME "valdremo")
set(CPACK_PACKAGE_VERSION "1.0.0")
set(CPACK_PACKAGE_VENDOR "Valdremo")
set(CPACK_PACKAGE_CONTACT "Valdremo <maintainers@valdremo.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Index to the on-line teaching videos for the Level 2 Office examination")
set(CPACK_PACKAGE_DESCRIPTION
  "One window: pick one of the 23 exam papers and click WORD, EXCEL or PPT; \
the tutorial page of that paper and subject opens in the default web browser.")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  if(TARGET valdremo)
    install(TARGETS valdremo RUNTIME DESTINATION .)
  endif()
  set(CPACK_GENERATOR "ZIP")
  set(CPACK_SYSTEM_NAME "win32")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
elseif(TARGET valdremo)
  include(GNUInstallDirs)
  install(TARGETS valdremo RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
  install(FILES "${PROJECT_SOURCE_DIR}/resources/valdremo.desktop"
          DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/applications")
  foreach(size 16 32 48)
    install(FILES "${PROJECT_SOURCE_DIR}/resources/icons/hicolor/${size}x${size}/apps/valdremo.png"
            DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps")
  endforeach()

  set(CPACK_GENERATOR "DEB")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
  set(CPACK_DEBIAN_PACKAGE_SECTION "education")
  # The Qt libraries the program links, found by dpkg-shlibdeps; where that
  # tool is missing, the Qt Widgets runtime named outright.
  find_program(VALDREMO_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(VALDREMO_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  elseif(VALDREMO_QT_FOUND_MAJOR EQUAL 5)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt5widgets5 (>= 5.15), libqt5gui5 (>= 5.15), libqt5core5a (>= 5.15)")
  else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4)")
  endif()
  # The texts are Chinese: without a CJK font they show as boxes.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk")
endif()

include(CPack)
