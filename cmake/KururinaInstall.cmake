# Install rules, and the Debian package that scripts/package makes of them.
# The program finds its helper and the maker's library in its own folder, so
# the three live together in a private folder; the command is a link to it.
#   component "program": what an install of any kind needs
#   component "system":  what only an install for everyone needs (the command
#                        in /usr/games, software-centre data, the package's documents)
include(GNUInstallDirs)
set(KURURINA_INSTALL_PKGDIR ${CMAKE_INSTALL_LIBEXECDIR}/kururina CACHE STRING "The program's own folder")
set(KURURINA_INSTALL_GAMESDIR games CACHE STRING "Where the command goes")
set(KURURINA_MAINTAINER "Kururina developers <developers@kururina.example>")
# The release's date, in the forms the metainfo, the manual page and the changelog take.
set(KURURINA_RELEASE_DATE 2026-12-07)
set(KURURINA_RELEASE_DATE_RFC "Mon, 07 Dec 2026 12:00:00 +0000")

set(pkg_out ${CMAKE_BINARY_DIR}/packaging)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS kururina kururina-metafile RUNTIME DESTINATION ${KURURINA_INSTALL_PKGDIR} COMPONENT program)
# Loaded with dlopen, never linked: a plain file, not an executable one.
install(TARGETS TRX3Res LIBRARY DESTINATION ${KURURINA_INSTALL_PKGDIR} COMPONENT program
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(FILES packaging/kururina.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT program)
foreach(size 32 64 128 256)
  install(FILES ${CMAKE_BINARY_DIR}/assets/icon-${size}.png RENAME kururina.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps COMPONENT program)
endforeach()

configure_file(packaging/kururina.6 ${pkg_out}/kururina.6 @ONLY)
configure_file(packaging/changelog.in ${pkg_out}/changelog @ONLY)
configure_file(packaging/org.example.kururina.metainfo.xml.in ${pkg_out}/org.example.kururina.metainfo.xml @ONLY)
# Compressed without a time stamp, so the same sources give the same bytes.
foreach(f kururina.6 changelog)
  add_custom_command(OUTPUT ${pkg_out}/${f}.gz
    COMMAND gzip -9nkf ${pkg_out}/${f}
    DEPENDS ${pkg_out}/${f} VERBATIM)
endforeach()
add_custom_target(kururina_install_data ALL DEPENDS ${pkg_out}/kururina.6.gz ${pkg_out}/changelog.gz)
install(FILES ${pkg_out}/kururina.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 COMPONENT program)

file(RELATIVE_PATH link_target /${KURURINA_INSTALL_GAMESDIR} /${KURURINA_INSTALL_PKGDIR}/kururina)
file(CREATE_LINK ${link_target} ${pkg_out}/kururina SYMBOLIC)
install(FILES ${pkg_out}/kururina DESTINATION ${KURURINA_INSTALL_GAMESDIR} COMPONENT system)
install(FILES ${pkg_out}/org.example.kururina.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT system)
install(FILES packaging/copyright ${pkg_out}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT system)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kururina)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small bus that stands on your desktop")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A desktop toy: a small orange bus stands on the desktop in a window of its
own. Its destination sign shows pictures from a folder of your own, its
doors open step by step (the middle door after a chime), and a signboard
picture of your choice stands on it in a frame that you drag with the mouse.
An always-on-top settings panel drives it all. The interface is in Japanese.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${KURURINA_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What no library names: the Japanese fonts the windows ask for, and Qt's
# Japanese translations for its own dialogs. (The GIF and JPEG readers and the
# X11 platform come with libqt6gui6; SVG is rendered by a linked library.)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-translations-l10n")
include(CPack)
