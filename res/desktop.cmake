# What the desktop needs to list, open and show the installed program: its
# desktop entry and the song types' MIME packages (written by the program's
# own registration code, so that both say the same), its icons in the
# hicolor theme and its AppStream description.
include(GNUInstallDirs)

set(SONAVEL_DESKTOP_DIR ${CMAKE_CURRENT_BINARY_DIR}/desktop)
# The registration code alone knows the files' names; what it writes is
# installed as it is, with nothing left from an earlier run.
set(SONAVEL_ENTRY_DIR ${SONAVEL_DESKTOP_DIR}/entry)
add_custom_command(
  OUTPUT ${SONAVEL_DESKTOP_DIR}/entry.stamp
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${SONAVEL_ENTRY_DIR}
  COMMAND make_desktop_files ${SONAVEL_ENTRY_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${SONAVEL_DESKTOP_DIR}/entry.stamp
  DEPENDS make_desktop_files
  COMMENT "Writing the desktop entry and the MIME packages"
  VERBATIM)

set(SONAVEL_ICON_SIZES 16 24 32 48 64 128 256)
set(SONAVEL_ICON_PNGS)
# name, then the theme's folder for it
foreach(icon sonavel:apps sonavel-document:mimetypes)
  string(REPLACE ":" ";" icon ${icon})
  list(GET icon 0 name)
  list(GET icon 1 context)
  set(pictures)
  foreach(size IN LISTS SONAVEL_ICON_SIZES)
    set(picture ${SONAVEL_DESKTOP_DIR}/icons/${size}x${size}/${name}.png)
    list(APPEND pictures ${picture})
    install(FILES ${picture} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/${context})
  endforeach()
  add_custom_command(
    OUTPUT ${pictures}
    COMMAND render_icon ${CMAKE_CURRENT_LIST_DIR}/icons/${name}.svg ${SONAVEL_DESKTOP_DIR}/icons ${SONAVEL_ICON_SIZES}
    DEPENDS render_icon ${CMAKE_CURRENT_LIST_DIR}/icons/${name}.svg
    COMMENT "Drawing the ${name} icon"
    VERBATIM)
  list(APPEND SONAVEL_ICON_PNGS ${pictures})
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/${name}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/${context})
endforeach()

add_custom_target(sonavel_desktop_files ALL
  DEPENDS ${SONAVEL_DESKTOP_DIR}/entry.stamp ${SONAVEL_ICON_PNGS})

install(DIRECTORY ${SONAVEL_ENTRY_DIR}/applications ${SONAVEL_ENTRY_DIR}/mime DESTINATION ${CMAKE_INSTALL_DATADIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/desktop/io.github.quillonworks.Sonavel.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
