# The Debian package: `cpack -G DEB` in a build folder writes
# vellumor_<version>_<arch>.deb with everything `cmake --install` puts in place.
set(CPACK_PACKAGE_NAME vellumor)
set(CPACK_PACKAGE_VENDOR Quorvan)
set(CPACK_PACKAGE_CONTACT "Quorvan <vellumor@quorvan.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop password manager with a command-line tool")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://vellumor.quorvan.example/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quorvan <vellumor@quorvan.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "desktop password manager with a command-line tool
Vellumor keeps passwords, user names, links and notes in a password file
(.VLM) encrypted with XChaCha20-Poly1305 under an Argon2id key. Records
are sorted into categories and subcategories, warn before they expire, and
are copied to the clipboard or typed into another program. A file in a sync
folder is merged, never overwritten, when another computer changed it.
.
vellumor-cli reads and changes the same files from scripts.")
# The dependencies are the packages of the linked libraries, found by
# dpkg-shlibdeps (dpkg-dev); Qt's X11 plugin comes with libqt6gui6.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
