# The program's own pictures (toolbar images, program and document icons),
# drawn as SVG and built into the program under :/icons.
file(GLOB SONAVEL_ICON_FILES CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_LIST_DIR}/icons/*.svg)
add_library(sonavel_icons STATIC)
qt_add_resources(sonavel_icons sonavel_icons
  PREFIX /icons
  BASE ${CMAKE_CURRENT_LIST_DIR}/icons
  FILES ${SONAVEL_ICON_FILES})
