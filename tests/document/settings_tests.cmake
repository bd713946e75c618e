# Tests of the settings store, the registry key wrapper and the settings
# record. They read the database file directly as well, hence SQLite.
find_package(SQLite3 REQUIRED)
list(APPEND DOCUMENT_TEST_SOURCES
  SettingsTest.cpp
  SettingsStoreTest.cpp
)
list(APPEND DOCUMENT_TEST_LIBS sonavel_settings SQLite::SQLite3)
