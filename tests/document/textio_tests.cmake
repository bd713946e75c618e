# The song file reader and writer tests (TextEncodingTest.cpp is listed by
# the folder's CMakeLists.txt).
list(APPEND DOCUMENT_TEST_SOURCES
  TextFileReaderTest.cpp
  TextFileWriterTest.cpp
)
