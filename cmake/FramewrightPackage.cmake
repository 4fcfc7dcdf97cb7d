# The Debian package that scripts/package makes (`cpack -G DEB` in a Release build): everything `cmake --install`
# installs, under /usr, its binaries stripped, and its library dependencies computed from them by dpkg-shlibdeps.
# The version has no Debian revision: the package is native, its changelog share/doc/framewright/changelog.gz.

set(FRAMEWRIGHT_MAINTAINER "Tarvelin Development <packages@framewright.org>")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME framewright)
set(CPACK_PACKAGE_VENDOR "Tarvelin Development")
set(CPACK_PACKAGE_CONTACT "${FRAMEWRIGHT_MAINTAINER}")
set(CPACK_PACKAGE_HOMEPAGE_URL https://framewright.org/)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "move and resize other programs' windows to saved placements")
# The long description, wrapped for Debian (lines of at most 80 characters). CPack writes the file's ' as &apos;.
set(CPACK_PACKAGE_DESCRIPTION_FILE ${CMAKE_SOURCE_DIR}/dist/debian/description)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Used at run time without being linked, so dpkg-shlibdeps cannot see them: a font (a bare system may have none) and
# xdg-open for the help page and the web page. Qt's xcb platform plugin comes with libqt6gui6.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2 | fonts-dejavu-core, xdg-utils")
# Xlib, loaded without being linked when a COMPOUND_TEXT title is decoded (src/platform/x11/x11xlibtext.h).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libx11-6")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
