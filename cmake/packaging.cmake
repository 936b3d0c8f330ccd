# The Debian package: `cpack -G DEB` in a build folder writes morvek_<version>_<arch>.deb with the
# three programs in /usr/bin, their manual pages, the desktop entry and its icon, the sample
# journal and the copyright file. Included from the top CMakeLists.txt after the programs' own
# install rules.

install(FILES packaging/morvek.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/morvek.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES data/sample-journal.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/morvek)
install(FILES packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME morvek)

# Debian's changelog of the package names the version it packages; a new version needs its entry.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^morvek \\(${PROJECT_VERSION}\\) ")
  message(WARNING "packaging/changelog has no entry for version ${PROJECT_VERSION} at its top")
endif()

set(MORVEK_PACKAGE_MAINTAINER "The morvek developers <morvek@example.org>"
    CACHE STRING "The Maintainer of the Debian package: name <address>")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morvek)
set(CPACK_PACKAGE_VENDOR "The morvek developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${MORVEK_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "electronic control tape reader for Ukrainian fiscal cash registers")
# The long description: lines of at most 79 characters, as Debian's tools show them.
set(CPACK_PACKAGE_DESCRIPTION
    "morvek fetches receipts and Z-reports from the electronic control tape of
Ukrainian fiscal cash registers (Datecs and Zelmar) over their remote-access
server, and shows each document as the exact text the register prints. It
keeps the documents in an archive (SQLite or PostgreSQL), checks every shift's
Z-report against its receipts, and exports documents as CSV, JSON Lines or PDF.

This package holds the desktop program morvek (Qt 6), the terminal program
morvek-cli, which also collects a whole fleet of registers at once, and
morvek-sim, a register simulator for trying the tool and for training, with a
sample journal to serve.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${MORVEK_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not libraries, so dpkg-shlibdeps cannot see them: the PDF export draws in DejaVu Sans Mono
# (another monospace font otherwise), and Qt's own dialogs speak Russian with Qt's translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, qt6-translations-l10n")

# CPack's DEB generator compresses nothing: after it has installed the files and before it packs
# them, the manual pages are gzipped and Debian's changelog is added, as Debian wants them.
set(CPACK_MORVEK_CHANGELOG ${PROJECT_SOURCE_DIR}/packaging/changelog)
set(CPACK_MORVEK_DOCDIR ${CMAKE_INSTALL_DOCDIR})
set(CPACK_MORVEK_MANDIR ${CMAKE_INSTALL_MANDIR})
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/package_compress.cmake)

include(CPack)
