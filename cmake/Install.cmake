# Installation and the Debian package.
#
# `cmake --install` puts the two programs in bin/, the shared data (help document, default list
# files) in share/tessellon/ (copied into each user's program directory at first start), and the
# desktop entry, icon, AppStream metainfo and man pages where the desktop and `man` look for them.
# `cpack -G DEB` in the build folder makes the .deb, its dependencies found by dpkg-shlibdeps.
include(GNUInstallDirs)

install(TARGETS tessellon tessellon-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The companion's report verb runs in a program of its own (src/cli/report_launcher.cpp).
install(TARGETS tessellon-cli-report RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/tessellon)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tessellon)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/tessellon.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/tessellon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/io.github.tessellon.Tessellon.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/tessellon.1 ${PROJECT_SOURCE_DIR}/packaging/tessellon-cli.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# Debian policy: every package carries its copyright file under /usr/share/doc/<package>.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tessellon)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessellon)
set(CPACK_PACKAGE_VENDOR "Tessellon developers")
set(CPACK_PACKAGE_CONTACT "Tessellon developers <developers@tessellon.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Catalogue for stamp collectors")
# One string: a list of two would be joined with ";" into the control file's description.
set(CPACK_PACKAGE_DESCRIPTION
    "Keeps a stamp collection in a dBase table with a configurable grid, a record editor with \
pick lists, searches, sort orders, reports, import, export, backup and restore.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The programs go out without their symbol tables and debugging sections.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")
include(CPack)
