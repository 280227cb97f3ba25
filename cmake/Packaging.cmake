# What an install holds (folders from cmake/InstallLayout.cmake) and the package CPack
# makes of it: `cpack -G DEB` in a Linux tree, `cpack -G ZIP` in a Windows tree.
#
# Linux: isphost (and ispgui), librtd2120.so, the public header, rtd2120.pc, the man page
#        isphost.1 and the adapters' udev rule.
# Windows: RTD2120.dll beside isphost.exe (and ispgui.exe), the header and README.md;
#        the executables are linked statically and need no DLL beyond the system's.
install(TARGETS isphost RUNTIME DESTINATION ${RTD_INSTALL_BINDIR})
if(TARGET ispgui)
  install(TARGETS ispgui RUNTIME DESTINATION ${RTD_INSTALL_BINDIR})
endif()
# The import library is for linking, not for hosts that load the DLL: not in the zip.
install(TARGETS rtd2120 RUNTIME DESTINATION ${RTD_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${RTD_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${RTD_INSTALL_LIBDIR} EXCLUDE_FROM_ALL)
if(WIN32)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/plugin/include/rtd2120/rtd2120.h
        DESTINATION ${RTD_INSTALL_INCLUDEDIR}/rtd2120)

# The man page names the installed files, so it is configured (in every tree: test_host
# checks it against the host's commands and options).
configure_file(${PROJECT_SOURCE_DIR}/host/isphost.1.in ${PROJECT_BINARY_DIR}/host/isphost.1 @ONLY)

if(NOT WIN32)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/package/rtd2120.pc.in
                 ${PROJECT_BINARY_DIR}/rtd2120.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/rtd2120.pc DESTINATION ${RTD_INSTALL_LIBDIR}/pkgconfig)

  # Debian ships man pages gzipped.
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/host/isphost.1.gz
    COMMAND sh -c "gzip -9nc isphost.1 > isphost.1.gz"
    DEPENDS ${PROJECT_BINARY_DIR}/host/isphost.1
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/host VERBATIM)
  add_custom_target(isphost_man ALL DEPENDS ${PROJECT_BINARY_DIR}/host/isphost.1.gz)
  install(FILES ${PROJECT_BINARY_DIR}/host/isphost.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

  install(FILES ${PROJECT_SOURCE_DIR}/host/udev/60-rtd2120-adapters.rules
          DESTINATION ${RTD_UDEV_RULES_DIR})
endif()

set(CPACK_PACKAGE_NAME rtd2120)
set(CPACK_PACKAGE_VENDOR "RTD2120 ISP")
set(CPACK_PACKAGE_CONTACT "RTD2120 ISP maintainers <rtd2120-isp@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "In-system programming of the RTD2120 microcontroller's flash over I2C")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "The RTD2120 plug-in (librtd2120.so) with its public header and pkg-config file, "
       "and isphost, a command-line host that drives it against a simulated chip, a Linux "
       "i2c-dev adapter or a CH341A USB adapter.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR}/packages)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(CPACK_SYSTEM_NAME win32)
  else()
    set(CPACK_SYSTEM_NAME win64)
  endif()
  set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME})
else()
  set(CPACK_GENERATOR DEB)
  # The package installs where the tree was configured for, so that the paths in
  # rtd2120.pc and the man page hold.
  set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
  # Depends: from the libraries the binaries link (libstdc++, libusb, FLTK, X11).
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
endif()
include(CPack)
