# The manual pages, written for scdoc and compressed as man expects them.
include(GNUInstallDirs)

find_program(SONAVEL_SCDOC scdoc)
if(NOT SONAVEL_SCDOC)
  message(WARNING "scdoc not found: the manual pages are not built (run scripts/setup.sh)")
  return()
endif()

set(SONAVEL_DATA_DIR ${CMAKE_INSTALL_FULL_DATADIR}/sonavel)
set(SONAVEL_MAN_PAGES sonavel-cli.1)
if(SONAVEL_BUILD_GUI)
  list(APPEND SONAVEL_MAN_PAGES sonavel.1)
endif()

set(pages)
foreach(page IN LISTS SONAVEL_MAN_PAGES)
  # The page names the folders the program is installed in.
  configure_file(${CMAKE_CURRENT_LIST_DIR}/man/${page}.scd ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.scd @ONLY)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz)
  # Written aside and renamed, so that a failed run leaves no half page.
  add_custom_command(
    OUTPUT ${output}
    COMMAND sh -c "\"$0\" < \"$1\" > \"$2.part\" && gzip -9nf \"$2.part\" && mv \"$2.part.gz\" \"$2\""
            ${SONAVEL_SCDOC} ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.scd ${output}
    DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.scd
    COMMENT "Writing the manual page ${page}"
    VERBATIM)
  list(APPEND pages ${output})
  install(FILES ${output} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(sonavel_man_pages ALL DEPENDS ${pages})
