# Tests of the settings store, the registry key wrapper and the settings
# record. They read the database file directly as well, hence SQLite.
find_package(SQLite3 REQUIRED)
list(APPEND DOCUMENT_TEST_SOURCES
  SettingsTest.cpp
  SettingsStoreTest.cpp
)
list(APPEND DOCUMENT_TEST_LIBS sonavel_settings SQLite::SQLite3)

# Used by tests/reliability.sh: two processes saving settings at once.
add_executable(settings_saver settings_saver.cpp)
target_link_libraries(settings_saver PRIVATE sonavel_settings SQLite::SQLite3 sonavel_warnings)
