# make package: one Debian package with the window, the demo, lcx3, the
# emulator and the desktop files. Its library dependencies come from
# dpkg-shlibdeps on the installed programs, so they follow what is linked.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vadero)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Norvelectrics)
set(CPACK_PACKAGE_CONTACT "VADERO <vadero@norvelectrics.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool of the LCX3 loop calibrator")
# Wrapped by hand; CPack turns its blank lines into the " ." of Debian.
file(READ ${CMAKE_SOURCE_DIR}/resources/debian/description CPACK_DEBIAN_PACKAGE_DESCRIPTION)
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

# /usr/share/doc/vadero: the README, the copyright file in Debian's
# machine-readable format (the licence body from LICENSE, indented) and the
# changelog, compressed as Debian wants it.
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
file(STRINGS ${CMAKE_SOURCE_DIR}/LICENSE licence_lines)
set(VADERO_LICENSE_TEXT)
set(in_body OFF)
foreach(line IN LISTS licence_lines)
  if(line MATCHES "^Permission")
    set(in_body ON)
  endif()
  if(in_body)
    if(line STREQUAL "")
      string(APPEND VADERO_LICENSE_TEXT " .\n")
    else()
      string(APPEND VADERO_LICENSE_TEXT " ${line}\n")
    endif()
  endif()
endforeach()
string(STRIP "${VADERO_LICENSE_TEXT}" VADERO_LICENSE_TEXT)
configure_file(${CMAKE_SOURCE_DIR}/resources/debian/copyright.in ${CMAKE_BINARY_DIR}/doc/copyright @ONLY)
set(changelog ${CMAKE_BINARY_DIR}/doc/changelog.gz)
add_custom_command(
  OUTPUT ${changelog}
  COMMAND sh -c "gzip -9n -c \"$1\" >\"$2\"" sh ${CMAKE_SOURCE_DIR}/CHANGELOG ${changelog}
  DEPENDS ${CMAKE_SOURCE_DIR}/CHANGELOG
  VERBATIM)
add_custom_target(vadero_changelog ALL DEPENDS ${changelog})
install(FILES ${CMAKE_BINARY_DIR}/doc/copyright ${changelog} ${CMAKE_SOURCE_DIR}/README.md
        DESTINATION ${doc_dir})

# Last of the install steps: the compilers' .comment notes go, as strip
# leaves them.
install(CODE [[
  file(GLOB programs "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin/*")
  foreach(program IN LISTS programs)
    file(READ "${program}" magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46")
      execute_process(COMMAND objcopy --remove-section=.comment "${program}" COMMAND_ERROR_IS_FATAL ANY)
    endif()
  endforeach()
]])
