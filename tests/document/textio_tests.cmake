# The song file reader and writer tests, with the text encodings the reader
# decodes.
list(APPEND DOCUMENT_TEST_SOURCES
  RecoveryStoreTest.cpp
  TextFileReaderTest.cpp
  TextFileWriterTest.cpp
)
