# The Debian package of the installation: cmake --build build --target package writes build/orb_*.deb.
# Its Depends come from the libraries the programs link (dpkg-shlibdeps).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orb)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Set-up utility of the ORB and ORBTONE GSM communicators")
set(CPACK_PACKAGE_DESCRIPTION "Edits the whole configuration of an ORB or ORBTONE unit in a
four-tab window (orb) or on the command line (orbctl), saves and loads it as
settings files (*.eep), reads it from the unit and writes it into the unit over
a serial cable at 19,200 bit/s, and prints a report. orbsim plays a unit on a
pseudo-terminal, so that every command can be tried without one.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ORB_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ORB_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SECTION comm)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Czech standard buttons, and the fonts whose metrics the window's layout was made for.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-liberation2")
set(CPACK_STRIP_FILES ON)
include(CPack)
