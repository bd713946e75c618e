# The Debian package: `cpack -G DEB` in a build configured with
# -DCMAKE_INSTALL_PREFIX=/usr. It holds what `cmake --install` installs and
# nothing else: the tests, benchmarks and build-time tools install nothing.
include(GNUInstallDirs)

# The program looks for its files under the prefix it was built for, so the
# package installs there too.
if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  message(STATUS "Packages of this build install into ${CMAKE_INSTALL_PREFIX}; "
                 "a Debian package wants -DCMAKE_INSTALL_PREFIX=/usr")
endif()
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})

set(CPACK_PACKAGE_NAME sonavel)
set(CPACK_PACKAGE_VENDOR "Quillon Works")
set(CPACK_PACKAGE_CONTACT "Quillon Works <sonavel@quillon-works.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for song sheets with chords and guitar tablature")
set(CPACK_PACKAGE_DESCRIPTION
    "Sonavel edits song sheets: plain-text files with chord names above the lyrics
and guitar tablature between them (.crd, .cho, .chopro, .tab, .txt). It
colours the chords and the tablature fret numbers and transposes them by any
number of semitones into any of 21 keys. The interface is in English and
Swedish.

The package also holds sonavel-cli, which transposes and colours song files
from the command line.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quillon-works.example/en/sonavel/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: opening the ReadMe
# and the tuning tune and registering the file types use the desktop's
# tools, and Qt's own buttons speak Swedish with Qt's translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, shared-mime-info, qt6-translations-l10n")

include(CPack)
