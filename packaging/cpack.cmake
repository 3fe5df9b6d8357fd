# `make package`: a Debian package of everything the install rules put in place, under /usr.
# Included from the top-level CMakeLists.txt, where CPack must be set up.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorbel)
set(CPACK_PACKAGE_VENDOR "The Quorbel developers")
set(CPACK_PACKAGE_CONTACT "The Quorbel developers <${QUORBEL_FEEDBACK_ADDRESS}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Smith chart for designing RF impedance-matching networks")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorbel is an interactive Smith chart for RF engineers, students and radio
amateurs. A chain of up to 25 components (resistors, capacitors, inductors,
transmission lines, stubs and RLC elements) carries a generator impedance
toward a load impedance; the chart draws the path of every component and the
readout gives the VSWR, return loss, mismatch loss and network Q. Components
are tuned from the keyboard; two wizards synthesise matching networks and
ladder filters; a band analysis plots return loss and VSWR against frequency;
loads can follow measured Touchstone data.
.
The package also holds quorbel-cli, which evaluates, edits and renders .qbl
documents from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Installed through DESTDIR, so that the install rules leave the desktop's caches to the target
# system's triggers.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX ${CPACK_PACKAGING_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://${QUORBEL_WEB_ADDRESS}/")
# The libraries the binaries need, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
