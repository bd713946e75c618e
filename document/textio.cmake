# Text encodings, the song file reader and the writer (no Qt).
add_library(sonavel_textio STATIC
  ${CMAKE_CURRENT_LIST_DIR}/FileFingerprint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecoveryStore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SaveEncoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextEncoding.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextFileReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextFileWriter.cpp
)
target_include_directories(sonavel_textio PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(sonavel_textio PRIVATE sonavel_warnings)
