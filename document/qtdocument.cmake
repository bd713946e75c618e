# The editor's document (Qt): the text, its file and the document's own copy
# of the options.
add_library(sonavel_document_qt STATIC
  ${CMAKE_CURRENT_LIST_DIR}/SonavelDoc.cpp
)
target_include_directories(sonavel_document_qt PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(sonavel_document_qt
  PUBLIC Qt6::Widgets sonavel_textio sonavel_settings sonavel_strings sonavel_shellutil
  PRIVATE sonavel_warnings)
