# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package (scripts/package): cpack -G DEB in a release build.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorix)
set(CPACK_PACKAGE_VENDOR "Quorix developers")
set(CPACK_PACKAGE_CONTACT "Quorix developers <quorix@users.noreply.github.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/resources/package/strip-comment.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION otherosfs)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON) # the Qt 6 libraries, found from the binary
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation) # it falls back to other fonts
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "launcher for the O2EM emulator")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Quorix lists the game files of a folder, lets you pick one, set the options
of the O2EM emulator (debug mode, no speed limit, no sound, no voice, and a
mode for each of the two joysticks) and starts the emulator with them. The
options are kept in the game folder, and a help window shows the keys of the
emulator.")
include(CPack)
