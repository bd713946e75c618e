// Arbitrary bytes as a song file: the reader must give valid UTF-8, the same
// text whether read whole, line by line or in segments (at any block size),
// and the text saved and read again must come back unchanged, whether saved
// whole or piecemeal as it is read.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/TextEncoding.h"
#include "document/TextFileReader.h"
#include "document/TextFileWriter.h"

namespace {

using UniqueFile = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

// fmemopen needs a writable buffer, and one byte even for an empty file.
UniqueFile OpenBytes(std::vector<char>& storage, const std::uint8_t* data, std::size_t size) {
  storage.assign(data, data + size);
  storage.push_back('\0');
  return UniqueFile(fmemopen(storage.data(), size, "rb"), &std::fclose);
}

struct Reading {
  std::string text;
  sonavel::CodePage codePage;
  sonavel::SaveEncoding saveEncoding;
};

Reading ReadAll(const std::uint8_t* data, std::size_t size, std::size_t blockSize) {
  std::vector<char> storage;
  UniqueFile file = OpenBytes(storage, data, size);
  Check(file != nullptr, "fmemopen");
  sonavel::CTextFileReader reader(file.get(), blockSize);
  Reading reading{std::string(), sonavel::CodePage::Utf8, sonavel::SaveEncoding::Utf8};
  Check(reader.ReadAll(reading.text, "\r\n"), "ReadAll succeeds on a memory file");
  Check(!reader.HadReadError(), "no read error on a memory file");
  reading.codePage = reader.EightBitCodePage();
  reading.saveEncoding = reader.EncodingToSave();
  return reading;
}

struct LineReading {
  std::string joined;  // the lines joined by CR LF
  std::string saved;   // the lines saved one by one as they were read
};

// window 0: line by line; else in segments of about that many bytes.
LineReading ReadLines(const std::uint8_t* data, std::size_t size, std::size_t blockSize, std::size_t window) {
  std::vector<char> storage;
  UniqueFile file = OpenBytes(storage, data, size);
  Check(file != nullptr, "fmemopen");
  sonavel::CTextFileReader reader(file.get(), blockSize);
  LineReading reading;
  std::optional<sonavel::SaveEncoder> encoder;
  std::string text;
  sonavel::SegmentPlace place;
  while (window == 0 ? reader.ReadLine(text) : reader.ReadSegment(text, window, place)) {
    if (window == 0) place.lineBreak = !reader.AtEnd();
    reading.joined += text;
    if (place.lineBreak) reading.joined += "\r\n";
    if (!encoder) encoder.emplace(reader.EncodingToSave());
    encoder->Put(text, place.lineBreak, reading.saved);
  }
  encoder->Finish(reading.saved);
  return reading;
}

bool HasHighByte(const std::string& bytes) {
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

// Saving and reading again gives the text back exactly, in whichever code
// page the saver chose; Windows-1252 bytes read back as Windows-1252.
void CheckRoundTrip(const std::string& text, sonavel::SaveEncoding preferred) {
  sonavel::SaveEncoding used = preferred;
  const std::string saved = sonavel::EncodeForSave(text, preferred, &used);
  const auto* savedData = reinterpret_cast<const std::uint8_t*>(saved.data());
  const Reading again = ReadAll(savedData, saved.size(), sonavel::CTextFileReader::kDefaultBlockSize);
  Check(again.text == text, "saved text reads back unchanged");
  if (used == sonavel::SaveEncoding::Windows1252 && HasHighByte(saved)) {
    Check(again.codePage == sonavel::CodePage::Windows1252, "Windows-1252 bytes read back as Windows-1252");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Reading whole = ReadAll(data, size, sonavel::CTextFileReader::kDefaultBlockSize);
  Check(sonavel::IsValidUtf8(whole.text), "output is valid UTF-8");

  // Small blocks put every unit and line end across a block boundary.
  const std::size_t blockSize = size == 0 ? 1 : 1 + data[0] % 7;
  Check(ReadAll(data, size, blockSize).text == whole.text, "block size does not change the text");
  const std::string saved = sonavel::EncodeForSave(whole.text, whole.saveEncoding, nullptr);
  const LineReading lines = ReadLines(data, size, blockSize, 0);
  Check(lines.joined == whole.text, "ReadLine joined equals ReadAll");
  Check(lines.saved == saved, "saving line by line as read equals saving the whole text");
  const LineReading segments = ReadLines(data, size, blockSize, size < 2 ? 1 : 1 + data[1] % 5);
  Check(segments.joined == whole.text, "ReadSegment joined equals ReadAll");
  Check(segments.saved == saved, "saving segment by segment as read equals saving the whole text");

  // The text has only CR LF line breaks, so it must survive saving as it is.
  CheckRoundTrip(whole.text, whole.saveEncoding);
  CheckRoundTrip(whole.text, sonavel::SaveEncoding::Windows1252);
  return 0;
}
