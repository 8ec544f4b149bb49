# `cpack -G DEB` in the build folder makes the Debian package of everything
# the install rules put under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolvex-file-renamer)
set(CPACK_PACKAGE_VENDOR Tolvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "batch file renamer with rules and a live preview")
set(CPACK_PACKAGE_DESCRIPTION "\
Tolvex File Renamer collects files into a checked list and shapes every
checked file's new name with rules: case, deletion by position, replace,
removal of text, insertion of text, serial numbers and dates, copy or move
of a range of characters. Changed rows are previewed before one pass
renames the files on disk, and a rename never replaces an existing file.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The first Debian revision of each release: the package's version is
# VERSION-1 and its history is changelog.Debian.gz.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tolvex <support@tolvex.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.tolvex.com/file-renamer/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads these as plugins at run time, out of dpkg-shlibdeps' sight: the
# SVG icon engine draws every button image, xcb opens the window. The fixed
# layout is measured for Arial-metric faces; with only DejaVu Sans, as on a
# bare system, captions such as "Uncheck All" are cut.
# tolvex-rename opens libavformat itself, when it first reads a movie's date.
string(REGEX MATCH "^[0-9]+" avformat_major "${libavformat_libavformat_VERSION}")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, qt6-qpa-plugins, fonts-liberation2, libavformat${avformat_major}")
# The Wayland platform plugin: without it Qt opens the window through
# Xwayland on a Wayland desktop.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")

include(CPack)
