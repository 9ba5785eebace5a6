# The Debian package (scripts/package: cpack -G DEB in build-package/).
# Runtime dependencies come from dpkg-shlibdeps, plus the database drivers
# (below). No maintainer scripts: the MIME, desktop and icon caches are
# brought up to date by the triggers of shared-mime-info, desktop-file-utils
# and the icon theme.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME acvlogger)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${ACV_MAINTAINER_NAME} <${ACV_MAINTAINER_EMAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "companion program of an AC voltage/current data logger")
# CPack puts the summary above this as the synopsis line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Finds a two-channel AC voltage/current data logger on a USB serial adapter,
reads live waveforms into RMS, frequency and apparent-power points,
downloads the logger's stored RMS series and transient records, sets the
logger up and sets its clock, and shows everything as zoomable graphs,
lists and printed reports. Measurements are saved as .stdata data files
with a tab-separated spreadsheet export.
.
The package holds the desktop program acvlogger, acvlogger-cli, which does
the same from a terminal and in scripts, and acvlogger-sim, a simulated
logger on a pseudo-terminal to try both without one.")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its database drivers as plugins at run time, which
# dpkg-shlibdeps cannot see. The SQLite driver holds the default library,
# so it is a dependency. The PostgreSQL driver is needed only for a team's
# shared library on a server: recommended (apt installs it by default), so
# a minimal installation may leave it and its client library out; without
# it the program says which package to install.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-psql")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/StripPrograms.cmake)
# The package carries its changelog (gzipped, as Debian keeps them), dated
# by the release, so that the same sources make the same package. It is a
# native package (its version has no Debian revision): changelog.gz.
execute_process(COMMAND date -u -R -d "${ACV_RELEASE_DATE} 12:00"
  OUTPUT_VARIABLE ACV_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/debian/changelog CONTENT
"acvlogger (${PROJECT_VERSION}) unstable; urgency=medium

  * Version ${PROJECT_VERSION}.

 -- ${CPACK_PACKAGE_CONTACT}  ${ACV_CHANGELOG_DATE}
")
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/debian/changelog.gz
  COMMAND gzip -9n -f -k ${CMAKE_BINARY_DIR}/debian/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog VERBATIM)
add_custom_target(debian_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/debian/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

include(CPack)
