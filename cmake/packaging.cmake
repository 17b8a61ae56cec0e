# A Debian package: cpack -G DEB in a build configured with CMAKE_INSTALL_PREFIX=/usr
# (scripts/package.sh does both). The shared libraries the programs link give most dependencies;
# what SDL loads at run time (libGL for a window, libEGL for the headless capture) with Mesa's
# drivers behind them, and the font, are named here.
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "Quorvane")
set(CPACK_PACKAGE_CONTACT "Quorvane developers <quorvane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Real-time 3D demo scene drawn with fixed-function OpenGL")
set(CPACK_PACKAGE_DESCRIPTION "A triangle, a quad, star sprites, open boxes, a sliding backdrop and a particle
fountain in one 640 x 480 window, steered from the keyboard and the mouse.
Includes quorvane-capture, which runs the scene headless and writes frames as
PNG files, and quorvane-bmp, a bitmap inspector.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libglx-mesa0, libegl1, libegl-mesa0, libgl1-mesa-dri, fonts-dejavu-core")
set(CPACK_GENERATOR DEB)
include(CPack)
