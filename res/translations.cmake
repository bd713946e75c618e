# The interface in Swedish: every Qt Linguist file in translations/ is
# compiled at build time and built into the program under :/i18n, where the
# program looks for the catalogues of the desktop's language.
file(GLOB SONAVEL_TS_FILES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/translations/*.ts)

add_library(sonavel_translations STATIC)
qt_add_lrelease(sonavel_translations
  TS_FILES ${SONAVEL_TS_FILES}
  NO_GLOBAL_TARGET
  QM_FILES_OUTPUT_VARIABLE SONAVEL_QM_FILES)
qt_add_resources(sonavel_translations sonavel_translations
  PREFIX /i18n
  BASE ${CMAKE_CURRENT_BINARY_DIR}
  FILES ${SONAVEL_QM_FILES})
