# Where an install puts each part, decided once for the install rules (cmake/Packaging.cmake)
# and for isphost, which looks for the plug-in there when no --plugin is given.
#
# Linux: the usual GNU folders, the library in lib/<multiarch> on a multiarch system.
# Windows: one folder, isphost.exe beside RTD2120.dll, the header under include/.
include(GNUInstallDirs)
if(WIN32)
  set(RTD_INSTALL_BINDIR .)
  set(RTD_INSTALL_LIBDIR .)
else()
  set(RTD_INSTALL_BINDIR ${CMAKE_INSTALL_BINDIR})
  # On a multiarch system the library folder is lib/<multiarch> whatever the prefix, as the
  # Debian package (always under /usr) wants it; a folder given by hand is kept.
  if(CMAKE_INSTALL_LIBDIR STREQUAL "lib" AND CMAKE_LIBRARY_ARCHITECTURE)
    set(RTD_INSTALL_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE})
  else()
    set(RTD_INSTALL_LIBDIR ${CMAKE_INSTALL_LIBDIR})
  endif()
endif()
# For scripts/check-packages, which reads the tree's cache.
set(RTD_INSTALL_LIBDIR ${RTD_INSTALL_LIBDIR} CACHE INTERNAL "The library folder of an install")
set(RTD_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR})

# The plug-in's folder relative to isphost's ("../lib/x86_64-linux-gnu/", or "" when they
# share one), so that an installed tree can be moved as a whole. Never an absolute path.
file(RELATIVE_PATH RTD_PLUGIN_FROM_BIN ${CMAKE_INSTALL_PREFIX}/${RTD_INSTALL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${RTD_INSTALL_LIBDIR})
if(RTD_PLUGIN_FROM_BIN)
  string(APPEND RTD_PLUGIN_FROM_BIN /)
endif()

# The udev rule goes where the system's own rules are when installing into /usr, and under
# the prefix otherwise (a private install cannot write to /lib).
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(RTD_UDEV_RULES_DEFAULT /lib/udev/rules.d)
else()
  set(RTD_UDEV_RULES_DEFAULT lib/udev/rules.d)
endif()
set(RTD_UDEV_RULES_DIR ${RTD_UDEV_RULES_DEFAULT} CACHE STRING "Install folder of the udev rule")
