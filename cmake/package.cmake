# The Debian package (scripts/package): `cpack` in a Release build configured for /usr.
# Its dependencies come from the programs' shared libraries (dpkg-shlibdeps), plus Qt's
# platform plugins, which the editor loads at run time and so no library links.
# No maintainer scripts: dpkg triggers of desktop-file-utils and hicolor-icon-theme
# refresh the desktop and icon caches, only on systems that have those caches.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessaly)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tessaly developers")
set(CPACK_PACKAGE_CONTACT "The Tessaly developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the 8x8 character sets of 8-bit computers")
set(CPACK_PACKAGE_DESCRIPTION
    "Tessaly edits the 8x8-pixel character sets (fonts) of 8-bit home computers
and text-mode screens built from them: pixels in an enlarged glyph, a 16 x 16
overview, transforms over ranges, built-in sets of the IBM PC, ZX Spectrum,
ZX80, Jupiter Ace, C64, Atari XL and Microsha, and a character map window for
screens. It saves raw headerless font and screen files for emulators and
assemblers.

tessaly-convert turns sets and screens into assembler and C source, Linux
console and X11 fonts, C64 program files and pictures, and brings fonts made
elsewhere into the editor.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/package_strip.cmake)
include(CPack)
