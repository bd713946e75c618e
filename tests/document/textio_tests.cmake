# The song file reader and writer tests, with the text encodings the reader
# decodes.
list(APPEND DOCUMENT_TEST_SOURCES
  TextFileReaderTest.cpp
  TextFileWriterTest.cpp
)
