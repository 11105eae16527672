# The Debian package: `scripts/package` configures a build with HALCYRA_SYSTEM_INSTALL=ON and
# runs cpack. The run-time libraries are found by dpkg-shlibdeps; listed here is what it cannot
# see, being loaded at run time: the SQLite driver of Qt SQL, the SVG icon engine, the fonts the
# report measures with, the desktop's openers.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME halcyra)
set(CPACK_PACKAGE_VENDOR "Halcyra")
set(CPACK_PACKAGE_CONTACT "Halcyra developers <dev@halcyra.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "client records and wellness profiles for a health adviser")
# The long description; CPack puts the summary above it and indents it as Debian wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Halcyra keeps a health adviser's client records with the section totals\n"
  "of a paper wellness questionnaire, and evaluates from them a printed\n"
  "profile: the marked rows, a dietary analysis and a supplement guide. It\n"
  "prints daily intake sheets and the blank questionnaire, opens product\n"
  "flyers, e-mails the questionnaire to clients and backs up the client\n"
  "database.")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://halcyra.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6svg6, fonts-liberation2, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "bash-completion, cups")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)

# What Debian wants beside every package: the copyright and the changelog, compressed the
# same way each time.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/share/debian/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/share/debian/changelog
    ${CMAKE_BINARY_DIR}/share/debian/changelog
  COMMAND ${HALCYRA_GZIP} -9nf ${CMAKE_BINARY_DIR}/share/debian/changelog
  DEPENDS ${CMAKE_SOURCE_DIR}/share/debian/changelog
  VERBATIM)
add_custom_target(halcyra_debian_changelog ALL
  DEPENDS ${CMAKE_BINARY_DIR}/share/debian/changelog.gz)
install(FILES ${CMAKE_SOURCE_DIR}/share/debian/copyright
  ${CMAKE_BINARY_DIR}/share/debian/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/halcyra)
include(CPack)
