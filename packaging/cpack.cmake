# `make package`: a Debian package of the game (the "game" component; the
# library's headers and CMake files are for developers and stay out).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorla)
set(CPACK_PACKAGE_VERSION ${Quorla_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quorla developers")
set(CPACK_PACKAGE_HOMEPAGE_URL https://quorla.org/)
# The package's maintainer: whoever builds a package to hand out names
# themselves here (cmake -DQUORLA_PACKAGE_MAINTAINER="Name <address>").
set(QUORLA_PACKAGE_MAINTAINER "Quorla Developers <developers@quorla.org>"
  CACHE STRING "The Debian package's Maintainer field")
# A build directory configured before there was a real address keeps the
# old default in its cache.
if(QUORLA_PACKAGE_MAINTAINER STREQUAL "The Quorla developers <quorla@localhost>")
  set_property(CACHE QUORLA_PACKAGE_MAINTAINER PROPERTY VALUE "Quorla Developers <developers@quorla.org>")
endif()
set(CPACK_PACKAGE_CONTACT "${QUORLA_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Gin Rummy against a computer opponent that learns")
# The extended description is wrapped by hand in the file: the packager
# keeps its lines as they are.
file(READ ${CMAKE_CURRENT_LIST_DIR}/debian/description CPACK_PACKAGE_DESCRIPTION)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/debian/description)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Staged through DESTDIR, so that the installation sees the prefix the
# package installs to (/usr, which the desktop entry names) rather than the
# staging folder.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX ${CPACK_PACKAGING_INSTALL_PREFIX})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL game)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The package holds no debugging information (the build directory has it).
set(CPACK_STRIP_FILES ON)
# The shared libraries the program and its neural library link come from
# dpkg-shlibdeps; Qt's platform plugins (the X11 and Wayland windows) are
# loaded at run time, so they are named here.
find_program(QUORLA_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(QUORLA_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR})
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-wayland")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libgcc-s1, libqt6core6, libqt6gui6, libqt6widgets6, libqt6svg6, qt6-qpa-plugins, qt6-wayland")
endif()
# Without the card decks the game draws plain cards; without the fonts it
# falls back to another sans-serif face; without Qt's translations the
# standard buttons stay English in another language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "kdegames-card-data-kf5, fonts-liberation, qt6-translations-l10n")
include(CPack)
