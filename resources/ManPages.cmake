# vadero_man_pages(PAGE...): installs each roff page of the calling folder
# compressed as Debian wants it (gzip -9n: no name, no time stamp).
function(vadero_man_pages)
  foreach(page ${ARGN})
    set(out ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz)
    add_custom_command(
      OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
      COMMAND sh -c "gzip -9n -c \"$1\" >\"$2\"" sh ${CMAKE_CURRENT_SOURCE_DIR}/${page} ${out}
      DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${page}
      VERBATIM)
    add_custom_target(man_${page} ALL DEPENDS ${out})
    string(REGEX MATCH "[0-9]$" section ${page})
    install(FILES ${out} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
  endforeach()
endfunction()
