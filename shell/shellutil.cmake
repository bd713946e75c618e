# The file dialogs and the path utilities of the shell, apart from the main
# window so that they can be tested on their own.
include(GNUInstallDirs)

add_library(sonavel_shellutil STATIC
  ${CMAKE_CURRENT_LIST_DIR}/DesktopLaunch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DocManagerEx.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PathUtils.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProgramFiles.cpp
)
target_include_directories(sonavel_shellutil PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(sonavel_shellutil
  PUBLIC Qt6::Widgets sonavel_strings
  PRIVATE sonavel_warnings)
# Files that ship with the program are also looked for where they are installed.
target_compile_definitions(sonavel_shellutil PRIVATE
  SONAVEL_DATA_DIR="${CMAKE_INSTALL_FULL_DATADIR}/sonavel")
