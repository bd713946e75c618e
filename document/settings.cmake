# The settings store, the registry key wrapper on it, the settings record and
# the document's copy of the options (no Qt).
find_package(SQLite3 REQUIRED)

add_library(sonavel_settings STATIC
  ${CMAKE_CURRENT_LIST_DIR}/SettingsStore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RegistryPath.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StoreRecovery.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RegistryKey.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DocumentOptions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Profile.cpp
)
target_include_directories(sonavel_settings PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(sonavel_settings
  PUBLIC sonavel_engine
  PRIVATE SQLite::SQLite3 sonavel_warnings)
