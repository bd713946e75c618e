#pragma once
// Reads a song file of any supported encoding as UTF-8 text, one line (or
// segment of a long line) at a time or all at once. The encoding comes from
// the byte-order mark; a file without one is taken as UTF-8 when it is valid
// UTF-8 and as Windows-1252 otherwise, so that song files written on Windows
// read correctly and can be saved back in the code page they came in.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/FileFingerprint.h"

namespace sonavel {

enum class TextEncoding { EightBit = 0, Utf16BigEndian = 1, Utf16LittleEndian = 2, Utf8 = 3 };

// The code page of the bytes of an 8-bit file (and the one to save it in).
enum class CodePage { Utf8, Windows1252 };

// The form a file is saved in: the one it was read in, so that the program
// that wrote it can still read it.
enum class SaveEncoding { Utf8, Utf8WithMark, Utf16LittleEndian, Utf16BigEndian, Windows1252 };

SaveEncoding SaveEncodingOf(TextEncoding encoding, CodePage codePage);

// What reading could not keep. Saving the text writes a file without it.
struct ReadLosses {
  std::uint64_t nulUnits = 0;      // NUL characters; each drops the rest of its line with it
  std::uint64_t droppedUnits = 0;  // bytes (16-bit units in UTF-16) dropped after a NUL
  std::uint64_t malformed = 0;     // damaged UTF-8 or UTF-16 sequences read as U+FFFD
  bool Any() const { return nulUnits != 0 || malformed != 0; }
};

// "2 NUL bytes (and 5 bytes after them on their lines)", "1 damaged character", ...
std::string DescribeLosses(const ReadLosses& losses);

// Checks UTF-8 as its bytes arrive, block by block, without keeping them.
class Utf8Validator {
 public:
  // False once the bytes so far cannot be (the start of) valid UTF-8.
  bool Feed(const unsigned char* bytes, std::size_t size);
  // False when the bytes end inside a sequence.
  bool Finish() const { return m_pendingSize == 0; }

 private:
  unsigned char m_pending[4] = {};
  std::size_t m_pendingSize = 0;
};

// Where a segment that CTextFileReader::ReadSegment gave stands in its line.
struct SegmentPlace {
  bool startsLine = true;  // the first segment of its line
  bool endsLine = true;    // the last segment of its line
  bool lineBreak = false;  // a line break follows: it ends a line that is not the file's last
};

class CTextFileReader {
 public:
  static constexpr std::size_t kDefaultBlockSize = 64 * 1024;

  // `file` is lent, positioned at its start, and never closed here. A null
  // file behaves as one that could not be opened: it is at its end from the
  // start and ReadAll fails. The block size is not observable in the results;
  // tests shrink it to push lines and characters across block boundaries.
  explicit CTextFileReader(std::FILE* file, std::size_t blockSize = kDefaultBlockSize);
  CTextFileReader(const CTextFileReader&) = delete;
  CTextFileReader& operator=(const CTextFileReader&) = delete;

  // The next line without its terminator (CR, LF or CR LF). False only when
  // the end of the file had already been reached before the call; `line` is
  // then left as it was.
  bool ReadLine(std::string& line);

  // The next segment of a line, for lines too long to hold whole: the line's
  // UTF-8 up to just after its last space or tab within `window` bytes, or
  // the rest of the line when that fits in the window. A space or tab is
  // where a line can be cut without changing what is found in it. A line with
  // no space or tab within the window is held until one comes or the line
  // ends, so a segment is longer than the window only when none of its bytes
  // but the last is a space or tab. Joined, the segments of a line are what
  // ReadLine gives (the last may be empty, when the line ends just after a
  // cut). False only when the end of the file had already been reached before
  // the call. Not to be mixed with ReadLine on one reader.
  bool ReadSegment(std::string& segment, std::size_t window, SegmentPlace& place);

  // Every remaining line, joined by `separator`. False, leaving `text` as it
  // was, when the file is not open or could not be read to its end. The file
  // is read once: an 8-bit file is taken as UTF-8 until a byte shows that it
  // is not, and the text so far is then converted in place.
  bool ReadAll(std::string& text, std::string_view separator);

  TextEncoding Encoding() const { return m_encoding; }
  // For 8-bit files, whether the bytes were valid UTF-8 or taken as
  // Windows-1252; Utf8 for files with a byte-order mark.
  CodePage EightBitCodePage() const { return m_codePage; }
  SaveEncoding EncodingToSave() const { return SaveEncodingOf(m_encoding, m_codePage); }
  const ReadLosses& Losses() const { return m_losses; }
  // The last line has been read: no line break follows the one ReadLine
  // gave last.
  bool AtEnd() const { return m_eof; }
  // The bytes read from the file so far, each counted once however often it
  // was read: after ReadAll, the whole file as it was read.
  FileFingerprint BytesRead() const { return m_hasher.Result(); }

  // A failed read ends the text early; callers must not mistake that for the
  // file's real end.
  bool HadReadError() const { return m_readError; }
  // The errno of the failed read or seek, 0 when none or unknown.
  int ReadErrorNumber() const { return m_readErrno; }

 private:
  enum class Stop { Terminator, Nul, NeedMore };
  struct Region {
    std::size_t consumed;  // bytes decoded or skipped before the stop
    Stop stop;
  };

  void DetectEncoding();
  void SettleCodePageAhead();
  void SwitchToWindows1252(std::string& rawSoFar);
  void SizeScratch();
  void Rewind();
  bool Refill();
  bool EnsureAvailable(std::size_t bytes);
  void RecordReadError(int error);
  std::size_t UnitSize() const;
  std::uint32_t UnitAt(std::size_t pos) const;
  void SkipTerminator();
  bool AppendLine(std::string& out, std::size_t limit = std::string::npos);
  std::size_t NextSegmentEnd(std::size_t window);
  Region DecodeRegion(const unsigned char* bytes, std::size_t size, bool final, bool afterNul,
                      std::string& out);
  Region DecodeEightBit(const unsigned char* bytes, std::size_t size, bool afterNul, std::string& out);
  Region DecodeUtf8(const unsigned char* bytes, std::size_t size, bool final, bool afterNul,
                    std::string& out);
  template <bool BigEndian>
  Region DecodeUtf16(const unsigned char* bytes, std::size_t size, bool final, bool afterNul,
                     std::string& out);
  std::size_t ReserveSize();

  std::FILE* m_file;
  TextEncoding m_encoding = TextEncoding::EightBit;
  CodePage m_codePage = CodePage::Utf8;
  bool m_codePageSettled = true;  // false while an 8-bit file may still turn out Windows-1252
  Utf8Validator m_validator;
  bool m_validating = false;  // bytes are checked as they are read
  bool m_notUtf8 = false;     // a byte read was not UTF-8
  ReadLosses m_losses;

  std::size_t m_blockSize;
  std::vector<unsigned char> m_buffer;
  std::size_t m_pos = 0;            // next byte to take
  std::size_t m_end = 0;            // end of the bytes in the buffer
  std::uint64_t m_bufferOffset = 0; // file offset of m_buffer[0]
  bool m_sourceExhausted = false;   // no bytes beyond m_end
  std::vector<char> m_scratch;      // a line's decoded UTF-8, appended at once
  ContentHasher m_hasher;
  std::uint64_t m_hashedEnd = 0;    // file offset up to which bytes are hashed

  bool m_midLine = false;   // AppendLine stopped before the end of the line
  bool m_afterNul = false;  // the rest of the line is dropped

  // ReadSegment: the current line's text read but not handed on yet, from
  // m_pendingFrom; none of it is a space or tab up to m_searchedTo.
  std::string m_pending;
  std::size_t m_pendingFrom = 0;
  std::size_t m_searchedTo = 0;
  bool m_inSegmentedLine = false;  // a line is being handed on
  bool m_pendingEndsLine = false;  // m_pending reaches the end of its line

  bool m_eof = false;
  bool m_atStart = true;
  bool m_readError = false;
  int m_readErrno = 0;
};

struct SongFileText {
  std::string text;
  TextEncoding encoding = TextEncoding::EightBit;
  CodePage codePage = CodePage::Utf8;
  SaveEncoding saveEncoding = SaveEncoding::Utf8;
  ReadLosses losses;
  FileFingerprint fingerprint;  // of the bytes read
};

// The largest song file read: 1 GiB, or an eighth of the memory when that
// is less. Reading, colouring and transposing a song take about eight times
// its size in memory, so a larger file would exhaust the memory rather than
// open.
std::uint64_t MaxSongFileBytes();

enum class ReadErrorKind { System, TooLarge, OutOfMemory };

struct ReadError {
  ReadErrorKind kind = ReadErrorKind::System;
  std::string reason;          // one line: "No such file or directory", "Is a directory", ...
  std::uint64_t fileSize = 0;  // TooLarge and OutOfMemory
  std::uint64_t limit = 0;     // TooLarge
};

// "1.5 GB", "40.0 GB", "812 bytes": decimal units, one decimal.
std::string SizeText(std::uint64_t bytes);

// Reads a whole song file with CR LF between its lines. A file larger than
// MaxSongFileBytes() is refused before anything is allocated for it, and
// running out of memory while reading is a failure like any other. On
// failure `error` says why and `out` is left as it was.
bool ReadSongFile(const std::filesystem::path& path, SongFileText& out, ReadError& error);

struct FileCloser {
  void operator()(std::FILE* file) const;
};

// A song file opened with the checks of ReadSongFile and read one line at a
// time, for a text that is written out as it is read.
class SongFileLines {
 public:
  // False, with `error` saying why, when the file cannot be read.
  bool Open(const std::filesystem::path& path, ReadError& error);
  // Standard input: read where it is when it is a file, else held in memory
  // first, since the reader may have to start again once it knows the code
  // page. Within the same size limit as a file.
  bool OpenStandardInput(ReadError& error);
  // The reader of the open file: ReadLine or ReadSegment, AtEnd, and after
  // the last line what the file was and what reading lost.
  CTextFileReader& Reader() { return *m_reader; }
  // The size of the file (or of the standard input held) in bytes.
  std::uint64_t Size() const { return m_size; }
  // After the last line: false, with `error` saying why, when the text
  // ended early because reading failed.
  bool Finished(ReadError& error) const;

 private:
  std::string m_held;  // standard input that cannot be read twice; before m_file, which reads it
  std::unique_ptr<std::FILE, FileCloser> m_file;
  std::unique_ptr<CTextFileReader> m_reader;
  std::uint64_t m_size = 0;
};

}  // namespace sonavel
