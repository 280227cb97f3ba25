# What an install holds (folders from cmake/InstallLayout.cmake) and the package CPack
# makes of it: `cpack -G DEB` in a Linux tree, `cpack -G ZIP` in a Windows tree.
#
# Linux: isphost (and ispgui), librtd2120.so, the public header, rtd2120.pc, the man pages
#        isphost.1 and ispgui.1, the adapters' udev rule, ispgui's desktop entry and icon,
#        and the Debian copyright and changelog (cmake/package/).
# Windows: RTD2120.dll beside isphost.exe (and ispgui.exe), the header and README.md;
#        the executables are linked statically and need no DLL beyond the system's.
# Folders as Debian wants them (0755), whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
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

# The Debian package installs under /usr whatever prefix the tree was configured with,
# so the man pages name the files where the package puts them.
set(RTD_PACKAGE_PREFIX /usr)
foreach(dir LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${RTD_INSTALL_${dir}}")
    set(RTD_PACKAGE_FULL_${dir} ${RTD_INSTALL_${dir}})
  else()
    set(RTD_PACKAGE_FULL_${dir} ${RTD_PACKAGE_PREFIX}/${RTD_INSTALL_${dir}})
  endif()
endforeach()
if(IS_ABSOLUTE "${RTD_UDEV_RULES_DIR}")
  set(RTD_PACKAGE_UDEV_RULES_DIR ${RTD_UDEV_RULES_DIR})
else()
  set(RTD_PACKAGE_UDEV_RULES_DIR ${RTD_PACKAGE_PREFIX}/${RTD_UDEV_RULES_DIR})
endif()

# rtd_configure_man_page(SOURCE OUTPUT): the page with the package's folders in place of
# the tree's (the variables are set in this function's scope only).
function(rtd_configure_man_page source output)
  set(CMAKE_INSTALL_FULL_LIBDIR ${RTD_PACKAGE_FULL_LIBDIR})
  set(CMAKE_INSTALL_FULL_INCLUDEDIR ${RTD_PACKAGE_FULL_INCLUDEDIR})
  set(RTD_UDEV_RULES_DIR ${RTD_PACKAGE_UDEV_RULES_DIR})
  configure_file(${source} ${output} @ONLY)
endfunction()

# Configured in every tree: test_host and test_gui_parts check them against the hosts'
# commands and options.
rtd_configure_man_page(${PROJECT_SOURCE_DIR}/host/isphost.1.in ${PROJECT_BINARY_DIR}/host/isphost.1)
rtd_configure_man_page(${CMAKE_CURRENT_LIST_DIR}/package/ispgui.1.in
                       ${PROJECT_BINARY_DIR}/package/ispgui.1)

set(RTD_DEBIAN_REVISION 1)
set(RTD_DEBIAN_VERSION ${PROJECT_VERSION}-${RTD_DEBIAN_REVISION})
set(CPACK_PACKAGE_CONTACT "RTD2120 ISP maintainers <rtd2120-isp@example.org>")

if(NOT WIN32)
  set(package_dir ${CMAKE_CURRENT_LIST_DIR}/package)
  set(package_out ${PROJECT_BINARY_DIR}/package)
  # Relative to its own folder, so that rtd2120.pc holds wherever the files are installed.
  if(IS_ABSOLUTE "${RTD_INSTALL_LIBDIR}")
    set(RTD_PC_PREFIX ${CMAKE_INSTALL_PREFIX})
  else()
    file(RELATIVE_PATH RTD_PC_PREFIX
         ${RTD_PACKAGE_PREFIX}/${RTD_INSTALL_LIBDIR}/pkgconfig ${RTD_PACKAGE_PREFIX})
    string(REGEX REPLACE "/$" "" RTD_PC_PREFIX "\${pcfiledir}/${RTD_PC_PREFIX}")
  endif()
  configure_file(${package_dir}/rtd2120.pc.in ${PROJECT_BINARY_DIR}/rtd2120.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/rtd2120.pc DESTINATION ${RTD_INSTALL_LIBDIR}/pkgconfig)

  # Debian ships man pages and changelogs gzipped, without a time stamp (gzip -n).
  configure_file(${package_dir}/changelog.Debian.in ${package_out}/changelog.Debian @ONLY)
  set(gzipped ${PROJECT_BINARY_DIR}/host/isphost.1 ${package_out}/changelog.Debian)
  if(TARGET ispgui)
    list(APPEND gzipped ${package_out}/ispgui.1)
  endif()
  set(gzipped_outputs)
  foreach(file ${gzipped})
    add_custom_command(OUTPUT ${file}.gz
      COMMAND sh -c "gzip -9nc \"$0\" > \"$0.gz\"" ${file}
      DEPENDS ${file} VERBATIM)
    list(APPEND gzipped_outputs ${file}.gz)
  endforeach()
  add_custom_target(rtd_package_texts ALL DEPENDS ${gzipped_outputs})

  install(FILES ${PROJECT_BINARY_DIR}/host/isphost.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${package_dir}/copyright ${package_out}/changelog.Debian.gz
          DESTINATION ${CMAKE_INSTALL_DOCDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/host/udev/60-rtd2120-adapters.rules
          DESTINATION ${RTD_UDEV_RULES_DIR})
  # AppStream metadata: names the adapters of the udev rule, and ispgui's desktop entry.
  set(RTD_METAINFO_TYPE generic)
  set(RTD_METAINFO_LAUNCHABLE "")
  if(TARGET ispgui)
    set(RTD_METAINFO_TYPE desktop-application)
    set(RTD_METAINFO_LAUNCHABLE "  <launchable type=\"desktop-id\">ispgui.desktop</launchable>\n")
  endif()
  configure_file(${package_dir}/rtd2120.metainfo.xml.in ${package_out}/rtd2120.metainfo.xml @ONLY)
  install(FILES ${package_out}/rtd2120.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
  if(TARGET ispgui)
    install(FILES ${package_out}/ispgui.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${package_dir}/ispgui.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
    set(icons ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor)
    install(FILES ${package_dir}/ispgui.svg DESTINATION ${icons}/scalable/apps)
    install(FILES ${package_dir}/ispgui-48.png DESTINATION ${icons}/48x48/apps
            RENAME ispgui.png)
  endif()
endif()

set(CPACK_PACKAGE_NAME rtd2120)
set(CPACK_PACKAGE_VENDOR "RTD2120 ISP")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "In-system programming of the RTD2120 microcontroller's flash over I2C")
# Debian's extended description: lines of at most 80 characters.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Programs the flash of an RTD2120 microcontroller over I2C and verifies every\n"
       "bank by the CRC-8 the chip computes. The package holds the RTD2120 plug-in\n"
       "(librtd2120.so) with its header and pkg-config file, and two hosts that drive\n"
       "it: isphost, on the command line, and ispgui, in a window.\n"
       "\n"
       "Both hosts work with a simulated chip or with a real adapter: a CH341A, an\n"
       "FTDI FT232H, FT2232H or FT4232H (MPSSE mode) on USB, or any Linux i2c-dev\n"
       "adapter.")
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
  # Under /usr, as Debian's own packages, whatever prefix the tree was configured with.
  set(CPACK_PACKAGING_INSTALL_PREFIX ${RTD_PACKAGE_PREFIX})
  set(CPACK_DEBIAN_PACKAGE_RELEASE ${RTD_DEBIAN_REVISION})
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
  # The plug-in's folder is the dynamic linker's: an ldconfig trigger, not ldconfig called
  # from the maintainer scripts; they reload the udev rules instead.
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/package/triggers
      ${CMAKE_CURRENT_LIST_DIR}/package/postinst ${CMAKE_CURRENT_LIST_DIR}/package/postrm)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  # Depends: from the libraries the binaries link (libstdc++, libusb, FLTK, X11).
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
endif()
include(CPack)
