# Registering the song file types with the desktop (no widgets), apart from
# the main window so that the Associations dialog and its tests can use it.
add_library(sonavel_associations STATIC ${CMAKE_CURRENT_LIST_DIR}/FileAssociations.cpp)
target_include_directories(sonavel_associations PUBLIC ${PROJECT_SOURCE_DIR})
# The icons and the Swedish texts it writes into the desktop's files come
# from the program's own resources.
target_link_libraries(sonavel_associations
  PUBLIC Qt6::Core sonavel_strings sonavel_icons sonavel_translations
  PRIVATE sonavel_warnings)
