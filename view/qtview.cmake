# The editor's view (Qt): the text control on QTextEdit and CSonavelView.
add_library(sonavel_view_qt STATIC
  ${CMAKE_CURRENT_LIST_DIR}/FileChangedBar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtTextControl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SonavelView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextSearch.cpp
)
target_include_directories(sonavel_view_qt PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(sonavel_view_qt
  PUBLIC Qt6::Widgets Qt6::PrintSupport sonavel_view_core sonavel_document_qt sonavel_dialogs
  PRIVATE sonavel_warnings)
