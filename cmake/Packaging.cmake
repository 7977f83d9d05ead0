# The Debian package, built by `make package` (or `cpack -G DEB` in the build folder) from what
# `cmake --install` puts under /usr.
set(OCTAVANE_MAINTAINER "Octavane maintainers <maintainers@users.noreply.c-seed-40627fa9.example>"
    CACHE STRING "Name and address of the package's maintainer")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME octavane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Bellwick Software")
set(CPACK_PACKAGE_CONTACT ${OCTAVANE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${PROJECT_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # octavane_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${OCTAVANE_MAINTAINER})
# The libraries (SDL2, SDL2_ttf, SDL2_mixer, libepoxy, fontconfig) come from dpkg-shlibdeps; the
# fonts are opened by name through fontconfig, so no linker sees them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, fonts-ipafont-gothic")
# The summary above is its first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Octavane is Reversi (Othello) on a lit, three-dimensional board. Play Black
or White against a computer player of nine strengths, or share the keyboard
with a friend; ask for a hint, take moves back and look around the board.
It plays with the keyboard, the mouse or a gamepad, full screen or in a
window.")

include(CPack)
