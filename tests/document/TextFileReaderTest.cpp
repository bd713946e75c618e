#include "document/TextFileReader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "document/TextEncoding.h"
#include "tests/support/HexBytes.h"

namespace sonavel {
namespace {

// The five bytes Windows-1252 leaves undefined come back too, so that any
// 8-bit file survives being opened and saved.
TEST(Windows1252, EveryByteMapsToACharacterAndBack) {
  std::string all;
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(UnicodeToWindows1252(Windows1252ToUnicode(static_cast<std::uint8_t>(b))), b) << "byte " << b;
    all.push_back(static_cast<char>(b));
  }
  EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(all)), all);
}

// Overlong, a surrogate, beyond U+10FFFF, no lead, cut short: no byte of
// these starts a character (the reader's tables hold the damage that leaves
// some). Each is checked as a view followed by continuation bytes, which a
// check that looks one byte too far would take for part of it; and behind
// ASCII of every length around the eight-byte word the validity check skips
// at a time.
TEST(Utf8, InvalidSequencesGiveOneReplacementCharacterPerByte) {
  for (const char* hex : {"C1 BF", "E0 9F BF", "F0 8F BF BF", "ED A0 80", "ED BF BF", "F4 90 80 80", "F8 88 80 80 80",
                          "FF", "C3", "F0 9F 8E"}) {
    const std::string bytes = FromHex(hex);
    for (const std::size_t ascii : {0, 7, 8, 9}) {
      const std::string buffer = std::string(ascii, 'a') + bytes + "\x80\x80\x80";
      EXPECT_FALSE(IsValidUtf8(std::string_view(buffer).substr(0, ascii + bytes.size()))) << hex << " after " << ascii;
      const std::string_view view = std::string_view(buffer).substr(ascii, bytes.size());
      std::vector<char32_t> chars;
      for (std::size_t i = 0; i < view.size();) chars.push_back(DecodeUtf8At(view, i));
      EXPECT_EQ(chars, std::vector<char32_t>(bytes.size(), kReplacementCharacter)) << hex << " after " << ascii;
    }
  }
}

constexpr std::size_t kBlock = CTextFileReader::kDefaultBlockSize;

// Bytes in memory behind a stream whose reads from `failReadAt` on, and whose
// seeks when `failSeek` is set, fail with EIO.
struct Source {
  std::string bytes;
  std::size_t failReadAt = std::string::npos;
  bool failSeek = false;
  std::size_t pos = 0;
};

// errno counts only when a call fails.
ssize_t ReadSource(void* cookie, char* out, std::size_t size) {
  auto& source = *static_cast<Source*>(cookie);
  errno = EIO;
  if (source.pos >= source.failReadAt) return -1;
  const std::size_t n = source.bytes.copy(out, std::min(size, source.failReadAt - source.pos), source.pos);
  source.pos += n;
  return static_cast<ssize_t>(n);
}

int SeekSource(void* cookie, off64_t* offset, int whence) {
  auto& source = *static_cast<Source*>(cookie);
  errno = EIO;
  if (source.failSeek || whence != SEEK_SET) return -1;
  source.pos = static_cast<std::size_t>(*offset);
  return 0;
}

using UniqueFile = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

UniqueFile Open(Source& source) {
  return {fopencookie(&source, "rb", {.read = &ReadSource, .write = nullptr, .seek = &SeekSource, .close = nullptr}),
          &std::fclose};
}

constexpr auto k8 = TextEncoding::EightBit;
constexpr auto kLe = TextEncoding::Utf16LittleEndian;
constexpr auto kBe = TextEncoding::Utf16BigEndian;
constexpr auto kU8 = TextEncoding::Utf8;
constexpr auto kUtf8 = CodePage::Utf8;
constexpr auto k1252 = CodePage::Windows1252;

struct DecodeRow {
  const char* name;
  const char* fileHex;
  const char* textHex;  // every line, joined with CR LF
  TextEncoding encoding;
  CodePage codePage;
  ReadLosses losses{};  // NULs, units dropped after them, damaged sequences
};

void PrintTo(const DecodeRow& row, std::ostream* os) { *os << row.name; }

const DecodeRow kDecodeRows[] = {
    // CR LF, a lone CR, LF CR, and LF LF at the end.
    {"LineEnds", "61 0D 0A 62 0D 63 0A 0D 64 0A 0A", "61 0D 0A 62 0D 0A 63 0D 0A 0D 0A 64 0D 0A 0D 0A", k8, kUtf8},
    {"BigEndianMarkOnly", "FE FF", "", kBe, kUtf8},
    {"LittleEndianMarkOnly", "FF FE", "", kLe, kUtf8},
    {"BigEndianAtEveryUtf8Length", "FE FF 00 41 00 0D 00 0A 00 7F 00 80 07 FF 08 00 FF FF D8 00 DC 00 DB FF DF FF",
     "41 0D 0A 7F C2 80 DF BF E0 A0 80 EF BF BF F0 90 80 80 F4 8F BF BF", kBe, kUtf8},
    {"Utf8WithMarkAndANul", "EF BB BF C3 A5 F0 9F 8E B8 00 C3 A5 0D 62", "C3 A5 F0 9F 8E B8 0D 0A 62", kU8, kUtf8,
     {1, 2, 0}},
    // The first and last character of every sequence length, and those next to the surrogates.
    {"Utf8WithoutMark", "61 E0 A0 80 C2 80 DF BF ED 9F BF EE 80 80 EF BF BF F0 90 80 80 F4 8F BF BF",
     "61 E0 A0 80 C2 80 DF BF ED 9F BF EE 80 80 EF BF BF F0 90 80 80 F4 8F BF BF", k8, kUtf8},
    {"HalfAUtf8MarkIsWindows1252", "EF BB 41", "C3 AF C2 BB 41", k8, k1252},
    {"HalfAUtf16MarkIsWindows1252", "78 FE", "78 C3 BE", k8, k1252},
    {"OtherHalfIsWindows1252Too", "78 FF", "78 C3 BF", k8, k1252},
    // One byte that is not UTF-8 makes the whole file Windows-1252.
    {"Windows1252", "C3 A5 C3 80 0A 66 F6 72 20 80",
     "C3 83 C2 A5 C3 83 E2 82 AC 0D 0A 66 C3 B6 72 20 E2 82 AC", k8, k1252},
    // Each line ends at its first NUL; in UTF-16 a NUL hides an odd last byte too.
    {"NulDropsTheRestOfItsLineOnly", "00 61 0A 62 00 63 0D 0A 64", "0D 0A 62 0D 0A 64", k8, kUtf8, {2, 2, 0}},
    {"NulInUtf16", "FF FE 61 00 00 00 62 00 0A 00 63 00 00 00 64", "61 0D 0A 63", kLe, kUtf8, {2, 2, 0}},
    // A byte that is not UTF-8 after a NUL still makes the file Windows-1252.
    {"NulHidesTheByteThatIsNotUtf8", "C3 A5 00 E5 0A 61", "C3 83 C2 A5 0D 0A 61", k8, k1252, {1, 1, 0}},
    // Tabs and the other control characters below CR are text, not line ends.
    {"ControlCharactersInUtf16", "FF FE 43 00 09 00 47 00 0B 00 0C 00", "43 09 47 0B 0C", kLe, kUtf8},
    // Damage gives U+FFFD and never swallows what follows.
    {"LittleEndianWithDamage", "FF FE 41 00 0D 00 0A 00 3C D8 B8 DF 3C D8 41 00 FF DF 3C D8 42",
     "41 0D 0A F0 9F 8E B8 EF BF BD 41 EF BF BD EF BF BD EF BF BD", kLe, kUtf8, {0, 0, 4}},
    {"Utf8DamageKeepsWhatFollows", "EF BB BF C3 41 80 C0 80 0D 0A E2 82",
     "EF BF BD 41 EF BF BD EF BF BD EF BF BD 0D 0A EF BF BD EF BF BD", kU8, kUtf8, {0, 0, 6}},
    // Where segments are cut: runs of spaces and tabs, a character beyond
    // ASCII on either side, a word longer than the window, a line ending in a space.
    {"SpacesAndTabs", "61 20 62 62 09 C3 A5 20 20 63 63 63 63 20 0A 20 0D 09 F0 9F 8E B8",
     "61 20 62 62 09 C3 A5 20 20 63 63 63 63 20 0D 0A 20 0D 0A 09 F0 9F 8E B8", k8, kUtf8},
    {"SpacesInUtf16", "FE FF 00 41 00 20 D8 3C DF B8 00 09 00 42 00 42 00 42 00 42 00 20",
     "41 20 F0 9F 8E B8 09 42 42 42 42 20", kBe, kUtf8},
    {"SpacesBeforeAWindows1252Letter", "41 20 42 20 43 0A 44 20 E5 20 46", "41 20 42 20 43 0D 0A 44 20 C3 A5 20 46", k8,
     k1252},
    // A segment may end while the rest of its line is being dropped.
    {"NulBeforeACut", "61 62 63 00 20 64 20 65 0A 66", "61 62 63 0D 0A 66", k8, kUtf8, {1, 4, 0}},
};

class DecodeTable : public ::testing::TestWithParam<DecodeRow> {};

// Small blocks put every mark, unit, sequence and line end across a refill,
// at every offset (a block size of 0 reads as 1); eight bytes fill the word
// the line-end search takes at a time. The file is read once, so its stream
// refuses to seek.
TEST_P(DecodeTable, SameTextWhateverTheBlockSize) {
  const DecodeRow& row = GetParam();
  for (const std::size_t blockSize : std::initializer_list<std::size_t>{0, 1, 2, 3, 5, 8, kBlock}) {
    SCOPED_TRACE("block size " + std::to_string(blockSize));
    Source source{.bytes = FromHex(row.fileHex), .failSeek = true};
    const UniqueFile file = Open(source);
    CTextFileReader reader(file.get(), blockSize);
    std::string text;
    EXPECT_TRUE(reader.ReadAll(text, "\r\n"));
    EXPECT_EQ(Hex(text), row.textHex);
    EXPECT_EQ(std::tuple(reader.Encoding(), reader.EightBitCodePage()), std::tuple(row.encoding, row.codePage));
    const ReadLosses& losses = reader.Losses();
    EXPECT_EQ(std::tie(losses.nulUnits, losses.droppedUnits, losses.malformed),
              std::tie(row.losses.nulUnits, row.losses.droppedUnits, row.losses.malformed));

    // Line by line the reader may start again once it knows the code page.
    Source seekable{.bytes = source.bytes};
    const UniqueFile byLine = Open(seekable);
    CTextFileReader lineReader(byLine.get(), blockSize);
    std::string lines;
    for (std::string line, separator; lineReader.ReadLine(line); separator = "\r\n") lines += separator + line;
    EXPECT_EQ(Hex(lines), row.textHex) << "line by line";

    // In segments of a few bytes, each cut just after a space or tab, or
    // longer only where there is none to cut after.
    for (const std::size_t window : {1, 3}) {
      Source again{.bytes = source.bytes};
      const UniqueFile bySegment = Open(again);
      CTextFileReader segmentReader(bySegment.get(), blockSize);
      std::string joined;
      std::string segment;
      SegmentPlace place;
      for (bool lineOpen = false; segmentReader.ReadSegment(segment, window, place); lineOpen = !place.endsLine) {
        EXPECT_EQ(place.startsLine, !lineOpen) << Hex(joined);
        const std::size_t firstCut = segment.find_first_of(" \t");
        EXPECT_TRUE(segment.size() <= window || firstCut == std::string::npos || firstCut == segment.size() - 1)
            << Hex(segment);
        EXPECT_TRUE(place.endsLine || segment.ends_with(' ') || segment.ends_with('\t')) << Hex(segment);
        joined += segment;
        if (place.lineBreak) joined += "\r\n";
      }
      EXPECT_EQ(Hex(joined), row.textHex) << "in segments of " << window;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, DecodeTable, ::testing::ValuesIn(kDecodeRows), ::testing::PrintToStringParamName());

// A stream that cannot be read to its end gives no text at all, never a
// shortened one; line by line, it never gives text from beyond the failure,
// nor a line after it. The file with a Windows-1252 letter is found to be
// one in its second block: line by line its first must be read again, while
// the whole text never seeks. A reader given no stream at all reads nothing
// either.
TEST(TextFileReader, ReadErrorGivesNoTextFromBeyondIt) {
  const std::string ascii(40, 'a');
  const std::string letter = std::string(10, 'a') + "\xE5" + ascii;
  const struct {
    const char* name;
    Source source;
    bool wholeReads;
  } rows[] = {
      {"the check for UTF-8 fails", {.bytes = ascii, .failReadAt = 20}, false},
      {"reading after the letter fails", {.bytes = letter, .failReadAt = 30}, false},
      {"the rewind fails", {.bytes = letter, .failSeek = true}, true},
  };
  for (auto [name, whole, wholeReads] : rows) {
    SCOPED_TRACE(name);
    Source byLine = whole;
    const UniqueFile file = Open(whole);
    const UniqueFile lineFile = Open(byLine);
    CTextFileReader reader(file.get(), 8);
    CTextFileReader lineReader(lineFile.get(), 8);
    std::string text = "unchanged";
    EXPECT_EQ(reader.ReadAll(text, "\r\n"), wholeReads);
    EXPECT_EQ(text, wholeReads ? Windows1252ToUtf8(whole.bytes) : "unchanged");
    EXPECT_EQ(reader.ReadErrorNumber(), wholeReads ? 0 : EIO);
    EXPECT_TRUE(lineReader.ReadLine(text));
    EXPECT_TRUE(Windows1252ToUtf8(whole.bytes).starts_with(text)) << text;
    EXPECT_FALSE(lineReader.ReadLine(text));
  }
  CTextFileReader none(nullptr);
  std::string text = "unchanged";
  EXPECT_FALSE(none.ReadAll(text, "\r\n"));
  EXPECT_EQ(text, "unchanged");
  EXPECT_FALSE(none.ReadLine(text));
}

// A file larger than any song is refused at once, by its size alone, and
// named with it; a sparse file takes no room on the disk.
TEST(ReadSongFile, RefusesAFileTooLargeToHoldBeforeReadingIt) {
  char pattern[] = "/tmp/sonavel-large-XXXXXX";
  const int fd = ::mkstemp(pattern);
  ASSERT_GE(fd, 0);
  const struct {
    std::uint64_t size;
    const char* sizeText;
  } rows[] = {{40'000'000'000, "40.0 GB"}, {MaxSongFileBytes() + 1, nullptr}};
  for (const auto& row : rows) {
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(row.size)), 0);
    SongFileText song;
    song.text = "unchanged";
    ReadError error;
    EXPECT_FALSE(ReadSongFile(pattern, song, error));
    EXPECT_EQ(std::tuple(error.kind, error.fileSize), std::tuple(ReadErrorKind::TooLarge, row.size));
    EXPECT_EQ(error.reason, "File too large: " + SizeText(row.size) + " (the limit is " + SizeText(error.limit) + ")");
    EXPECT_TRUE(!row.sizeText || SizeText(row.size) == row.sizeText) << SizeText(row.size);
    EXPECT_EQ(song.text, "unchanged");
  }
  ::close(fd);
  ::unlink(pattern);
  EXPECT_LE(MaxSongFileBytes(), std::uint64_t{1} << 30);
  EXPECT_EQ(SizeText(999) + ", " + SizeText(1000) + ", " + SizeText(999'950) + ", " + SizeText(UINT64_MAX),
            "999 bytes, 1.0 kB, 1.0 MB, 18.4 EB");
  EXPECT_EQ(SizeText(1'050'000), "1.1 MB");
}

}  // namespace
}  // namespace sonavel
