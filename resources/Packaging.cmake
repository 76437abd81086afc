# make package: one Debian package with the window, the demo, lcx3, the
# emulator and the desktop files. Its library dependencies come from
# dpkg-shlibdeps on the installed programs, so they follow what is linked.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vadero)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Norvelectrics)
set(CPACK_PACKAGE_CONTACT "VADERO <vadero@norvelectrics.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool of the LCX3 loop calibrator")
set(CPACK_PACKAGE_DESCRIPTION
    "VADERO reads, edits and writes the parameters of the LCX3 portable loop calibrator "
    "attached by USB, commands its output and reads its measurement. The package holds "
    "the window (vadero), a demo on emulated calibrators (vadero-demo), the command-line "
    "tool lcx3 and the emulator lcx3-emulator, with a udev rule giving the logged-in user "
    "access to the calibrator.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}_${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its display plugin at run time; no linked library names it.
if(VADERO_WITH_GUI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_SOURCE_DIR}/resources/debian/postinst
    ${CMAKE_SOURCE_DIR}/resources/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The debug information stays in the build tree.
set(CPACK_STRIP_FILES ON)
include(CPack)
