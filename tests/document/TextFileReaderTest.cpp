#include "document/TextFileReader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "document/TextEncoding.h"
#include "tests/support/HexBytes.h"

namespace sonavel {
namespace {

namespace fs = std::filesystem;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// A read-only stream over a copy of `bytes`.
class MemoryFile {
 public:
  explicit MemoryFile(std::string bytes) : m_bytes(std::move(bytes)) {
    m_bytes.push_back('\0');  // fmemopen wants a buffer even for an empty file
    m_file.reset(fmemopen(m_bytes.data(), m_bytes.size() - 1, "rb"));
  }
  std::FILE* get() const { return m_file.get(); }

 private:
  std::string m_bytes;
  UniqueFile m_file;
};


std::string FromHex(std::string_view hex) {
  std::string out;
  for (std::size_t i = 0; i < hex.size();) {
    if (hex[i] == ' ') {
      ++i;
      continue;
    }
    out.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    i += 2;
  }
  return out;
}

// Large texts: report where they part instead of printing both.
::testing::AssertionResult SameText(const std::string& actual, const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  std::size_t i = 0;
  while (i < actual.size() && i < expected.size() && actual[i] == expected[i]) ++i;
  return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size()
                                       << ", first difference at byte " << i << ": "
                                       << Hex(std::string_view(actual).substr(i, 8)) << " instead of "
                                       << Hex(std::string_view(expected).substr(i, 8));
}

struct ReadResult {
  bool ok = false;
  std::string text;
  TextEncoding encoding = TextEncoding::EightBit;
  CodePage codePage = CodePage::Utf8;
};

ReadResult ReadAllOf(const std::string& bytes, std::size_t blockSize = CTextFileReader::kDefaultBlockSize,
                     std::string_view separator = "\r\n") {
  MemoryFile file(bytes);
  CTextFileReader reader(file.get(), blockSize);
  ReadResult result;
  result.ok = reader.ReadAll(result.text, separator);
  result.encoding = reader.Encoding();
  result.codePage = reader.EightBitCodePage();
  return result;
}

std::vector<std::string> ReadLinesOf(const std::string& bytes, std::size_t blockSize) {
  MemoryFile file(bytes);
  CTextFileReader reader(file.get(), blockSize);
  std::vector<std::string> lines;
  std::string line;
  while (reader.ReadLine(line)) lines.push_back(line);
  return lines;
}

std::string Join(const std::vector<std::string>& lines, std::string_view separator) {
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) out += separator;
    out += lines[i];
  }
  return out;
}

// Block sizes that put every unit, mark and line end of a short input across
// a block boundary somewhere, plus the real one.
const std::vector<std::size_t> kBlockSizes = {1, 2, 3, 4, 5, 7, 16, CTextFileReader::kDefaultBlockSize};

// ---------------------------------------------------------------------------
// A plain model of the reader: decode the whole file into characters first,
// then split at CR LF, CR and LF; every line ends at its first NUL.

std::vector<char32_t> ModelDecode(const std::string& bytes) {
  std::vector<char32_t> chars;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  if (bytes.size() >= 2 && ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF))) {
    const bool bigEndian = byte(0) == 0xFE;
    std::vector<char32_t> units;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      units.push_back(bigEndian ? (byte(i) << 8 | byte(i + 1)) : (byte(i + 1) << 8 | byte(i)));
    }
    for (std::size_t i = 0; i < units.size(); ++i) {
      const char32_t u = units[i];
      if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
        chars.push_back(0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
        ++i;
      } else {
        chars.push_back(u >= 0xD800 && u <= 0xDFFF ? kReplacementCharacter : u);
      }
    }
    if (bytes.size() % 2 == 1) chars.push_back(kReplacementCharacter);
    return chars;
  }
  std::string_view rest = bytes;
  const bool marked = rest.starts_with("\xEF\xBB\xBF");
  if (marked) rest.remove_prefix(3);
  if (marked || IsValidUtf8(rest)) {
    for (std::size_t i = 0; i < rest.size();) chars.push_back(DecodeUtf8At(rest, i));
  } else {
    for (const char c : rest) chars.push_back(Windows1252ToUnicode(static_cast<std::uint8_t>(c)));
  }
  return chars;
}

std::string ModelReadAll(const std::string& bytes, std::string_view separator) {
  const std::vector<char32_t> chars = ModelDecode(bytes);
  std::vector<std::string> lines(1);
  bool truncated = false;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const char32_t c = chars[i];
    if (c == U'\r' || c == U'\n') {
      if (c == U'\r' && i + 1 < chars.size() && chars[i + 1] == U'\n') ++i;
      lines.emplace_back();
      truncated = false;
    } else if (c == 0) {
      truncated = true;
    } else if (!truncated) {
      AppendUtf8(lines.back(), c);
    }
  }
  return Join(lines, separator);
}

// ---------------------------------------------------------------------------

struct ReadCase {
  const char* name;
  const char* fileHex;
  const char* textHex;
  TextEncoding encoding;
  CodePage codePage;
};

std::ostream& operator<<(std::ostream& os, const ReadCase& c) { return os << c.name; }

constexpr auto k8 = TextEncoding::EightBit;
constexpr auto kLe = TextEncoding::Utf16LittleEndian;
constexpr auto kBe = TextEncoding::Utf16BigEndian;
constexpr auto kU8 = TextEncoding::Utf8;
constexpr auto kUtf8Cp = CodePage::Utf8;
constexpr auto kCp1252 = CodePage::Windows1252;

const ReadCase kReadCases[] = {
    // Line ends, each joined back with CR LF.
    {"CrLf", "61 0D 0A 62", "61 0D 0A 62", k8, kUtf8Cp},
    {"FinalLfBringsFinalSeparator", "61 0A 62 0A", "61 0D 0A 62 0D 0A", k8, kUtf8Cp},
    {"LoneCr", "61 0D 62", "61 0D 0A 62", k8, kUtf8Cp},
    {"LfCrIsTwoLineEnds", "61 0A 0D 62", "61 0D 0A 0D 0A 62", k8, kUtf8Cp},
    {"LeadingEmptyLineStays", "0D 0A 61", "0D 0A 61", k8, kUtf8Cp},
    {"CrCrLf", "61 0D 0D 0A 62", "61 0D 0A 0D 0A 62", k8, kUtf8Cp},
    {"OnlyCr", "0D", "0D 0A", k8, kUtf8Cp},
    {"TwoLf", "0A 0A", "0D 0A 0D 0A", k8, kUtf8Cp},
    {"Empty", "", "", k8, kUtf8Cp},
    // Marks.
    {"LittleEndianMarkOnly", "FF FE", "", kLe, kUtf8Cp},
    {"BigEndianMarkOnly", "FE FF", "", kBe, kUtf8Cp},
    {"Utf8MarkOnly", "EF BB BF", "", kU8, kUtf8Cp},
    {"LittleEndian", "FF FE 41 00 6D 00 0D 00 0A 00 47 00", "41 6D 0D 0A 47", kLe, kUtf8Cp},
    {"BigEndian", "FE FF 00 41 00 6D 00 0D 00 0A 00 47", "41 6D 0D 0A 47", kBe, kUtf8Cp},
    {"LittleEndianLoneCrAndLf", "FF FE 61 00 0D 00 62 00 0A 00", "61 0D 0A 62 0D 0A", kLe, kUtf8Cp},
    {"BigEndianLatinAndEuro", "FE FF 00 E5 20 AC", "C3 A5 E2 82 AC", kBe, kUtf8Cp},
    {"Utf8WithMark", "EF BB BF C3 A5", "C3 A5", kU8, kUtf8Cp},
    {"IncompleteUtf8MarkIsText", "EF BB 41", "C3 AF C2 BB 41", k8, kCp1252},
    {"TwoBytesOfUtf8Mark", "EF BB", "C3 AF C2 BB", k8, kCp1252},
    {"MarkOnlyAtStart", "41 FF FE", "41 C3 BF C3 BE", k8, kCp1252},
    // Files without a mark: UTF-8 when valid, Windows-1252 otherwise.
    {"ValidUtf8Unchanged", "C3 A5", "C3 A5", k8, kUtf8Cp},
    {"Windows1252Letter", "E5", "C3 A5", k8, kCp1252},
    {"Windows1252Specials", "80 85 9F", "E2 82 AC E2 80 A6 C5 B8", k8, kCp1252},
    {"Windows1252UndefinedBytesKept", "81 8D 8F 90 9D", "C2 81 C2 8D C2 8F C2 90 C2 9D", k8, kCp1252},
    {"OneBadByteMakesWholeFileWindows1252", "C3 A5 0A E5", "C3 83 C2 A5 0D 0A C3 A5", k8, kCp1252},
    {"FourByteUtf8WithoutMark", "F0 9F 8E B8", "F0 9F 8E B8", k8, kUtf8Cp},
    // Each line stops at its first NUL.
    {"Utf16WithoutMarkIsEightBit", "41 00 0D 00 0A 00", "41 0D 0A 0D 0A", k8, kUtf8Cp},
    {"NulDropsRestOfLine", "61 00 62 0D 0A 63", "61 0D 0A 63", k8, kUtf8Cp},
    {"NulDropsOnlyUpToLineEnd", "00 61 0A 62 00", "0D 0A 62", k8, kUtf8Cp},
    {"NulInWindows1252", "E5 00 E5 0A E5", "C3 A5 0D 0A C3 A5", k8, kCp1252},
    {"NulUnitInUtf16", "FF FE 61 00 00 00 62 00 0A 00 63 00", "61 0D 0A 63", kLe, kUtf8Cp},
    {"NulInUtf8WithMark", "EF BB BF 61 00 C3 A5 0D 62", "61 0D 0A 62", kU8, kUtf8Cp},
    {"NulBeforeOddByteHidesIt", "FF FE 61 00 00 00 62", "61", kLe, kUtf8Cp},
    // Characters beyond the 16-bit range are kept.
    {"FourByteUtf8AfterMark", "EF BB BF F0 9F 8E B8", "F0 9F 8E B8", kU8, kUtf8Cp},
    {"SurrogatePairLittleEndian", "FF FE 3C D8 B8 DF", "F0 9F 8E B8", kLe, kUtf8Cp},
    {"SurrogatePairBigEndian", "FE FF D8 3C DF B8", "F0 9F 8E B8", kBe, kUtf8Cp},
    // Damaged input gives U+FFFD and never swallows what follows.
    {"UnpairedHighSurrogate", "FF FE 3C D8 41 00", "EF BF BD 41", kLe, kUtf8Cp},
    {"LoneLowSurrogate", "FF FE B8 DF", "EF BF BD", kLe, kUtf8Cp},
    {"HighSurrogateAtEnd", "FF FE 3C D8", "EF BF BD", kLe, kUtf8Cp},
    {"HighSurrogateBeforeLineEnd", "FF FE 3C D8 0D 00 41 00", "EF BF BD 0D 0A 41", kLe, kUtf8Cp},
    {"OddTrailingByte", "FF FE 41 00 42", "41 EF BF BD", kLe, kUtf8Cp},
    {"MissingContinuationKeepsNextByte", "EF BB BF C3 41", "EF BF BD 41", kU8, kUtf8Cp},
    {"MissingContinuationKeepsLineEnd", "EF BB BF C3 0D 0A 41", "EF BF BD 0D 0A 41", kU8, kUtf8Cp},
    {"LoneContinuationBytes", "EF BB BF 80 BF", "EF BF BD EF BF BD", kU8, kUtf8Cp},
    {"OverlongNulIsNotNul", "EF BB BF C0 80 41", "EF BF BD EF BF BD 41", kU8, kUtf8Cp},
    {"EncodedSurrogate", "EF BB BF ED A0 80", "EF BF BD EF BF BD EF BF BD", kU8, kUtf8Cp},
    {"TruncatedSequenceAtEnd", "EF BB BF 61 E2 82", "61 EF BF BD EF BF BD", kU8, kUtf8Cp},
};

class ReadAllTable : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadAllTable, GivesTextEncodingAndCodePageAtEveryBlockSize) {
  const ReadCase& c = GetParam();
  const std::string bytes = FromHex(c.fileHex);
  for (const std::size_t blockSize : kBlockSizes) {
    SCOPED_TRACE("block size " + std::to_string(blockSize));
    const ReadResult result = ReadAllOf(bytes, blockSize);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(Hex(result.text), Hex(FromHex(c.textHex)));
    EXPECT_EQ(result.encoding, c.encoding);
    EXPECT_EQ(result.codePage, c.codePage);
    EXPECT_EQ(Join(ReadLinesOf(bytes, blockSize), "\r\n"), result.text);
  }
  EXPECT_EQ(Hex(ModelReadAll(bytes, "\r\n")), Hex(FromHex(c.textHex))) << "the model disagrees with the table";
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadAllTable, ::testing::ValuesIn(kReadCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct LinesCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;
};

class ReadLineTable : public ::testing::TestWithParam<LinesCase> {};

TEST_P(ReadLineTable, GivesEachLineThenFalse) {
  const LinesCase& c = GetParam();
  for (const std::size_t blockSize : kBlockSizes) {
    SCOPED_TRACE("block size " + std::to_string(blockSize));
    MemoryFile file(c.bytes);
    CTextFileReader reader(file.get(), blockSize);
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line)) lines.push_back(line);
    EXPECT_EQ(lines, c.lines);
    line = "kept";
    EXPECT_FALSE(reader.ReadLine(line));
    EXPECT_EQ(line, "kept");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadLineTable,
    ::testing::Values(LinesCase{"EmptyFileIsOneEmptyLine", "", {""}},
                      LinesCase{"FinalTerminatorGivesEmptyLine", "a\n", {"a", ""}},
                      LinesCase{"NoFinalTerminator", "a\r\nb", {"a", "b"}},
                      LinesCase{"MixedTerminators", "a\rb\nc\r\nd\n\re", {"a", "b", "c", "d", "", "e"}},
                      LinesCase{"Utf16", std::string("\xFF\xFE" "a\0\r\0\n\0\r\0b\0", 12), {"a", "", "b"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextFileReader, ReadAllAfterReadLineGivesTheRemainingLines) {
  for (const std::size_t blockSize : kBlockSizes) {
    SCOPED_TRACE("block size " + std::to_string(blockSize));
    MemoryFile file("one\r\ntwo\rthree\n");
    CTextFileReader reader(file.get(), blockSize);
    std::string line;
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "one");
    std::string rest = "old";
    ASSERT_TRUE(reader.ReadAll(rest, "|"));
    EXPECT_EQ(rest, "two|three|");
    EXPECT_TRUE(reader.ReadAll(rest, "|"));
    EXPECT_EQ(rest, "");
  }
}

TEST(TextFileReader, SeparatorIsTheCallers) {
  EXPECT_EQ(ReadAllOf("a\r\nb\rc\n", CTextFileReader::kDefaultBlockSize, "\n").text, "a\nb\nc\n");
  EXPECT_EQ(ReadAllOf("a\nb", CTextFileReader::kDefaultBlockSize, "").text, "ab");
}

TEST(TextFileReader, NullFileIsNotOpen) {
  CTextFileReader reader(nullptr);
  std::string text = "unchanged";
  EXPECT_FALSE(reader.ReadAll(text, "\r\n"));
  EXPECT_EQ(text, "unchanged");
  EXPECT_FALSE(reader.ReadLine(text));
  EXPECT_EQ(text, "unchanged");
  EXPECT_EQ(reader.Encoding(), TextEncoding::EightBit);
  EXPECT_FALSE(reader.HadReadError());
}

TEST(TextFileReader, LeavesTheLentFileOpen) {
  MemoryFile file("abc");
  {
    CTextFileReader reader(file.get());
    std::string text;
    ASSERT_TRUE(reader.ReadAll(text, "\r\n"));
  }
  ASSERT_EQ(std::fseek(file.get(), 0, SEEK_SET), 0);
  EXPECT_EQ(std::fgetc(file.get()), 'a');
}

TEST(TextFileReader, ReadErrorIsReportedNotTruncatedText) {
  // Reading a directory stream fails with EISDIR on its first read.
  UniqueFile directory(std::fopen(fs::temp_directory_path().c_str(), "rb"));
  ASSERT_NE(directory, nullptr);
  CTextFileReader reader(directory.get());
  std::string text = "unchanged";
  EXPECT_FALSE(reader.ReadAll(text, "\r\n"));
  EXPECT_EQ(text, "unchanged");
  EXPECT_TRUE(reader.HadReadError());
  EXPECT_EQ(reader.ReadErrorNumber(), EISDIR);
}

// ---------------------------------------------------------------------------
// Random inputs against the model, at every block size.

std::string RandomBytes(std::mt19937& rng, std::size_t maxLength) {
  // Heavy on line ends, NULs, lead and continuation bytes and surrogate halves.
  static const unsigned char kAlphabet[] = {0x0D, 0x0A, 0x00, 'a',  'b',  0xC3, 0xA5, 0xE2, 0x82, 0xAC, 0xF0,
                                            0x9F, 0x8E, 0xB8, 0xD8, 0xDC, 0x3C, 0xFF, 0xFE, 0x80, 0xEF, 0xBB,
                                            0xBF, 0xED, 0xA0, 0xC0, 0xF4, 0x90, 0x20, 0xE5, 0x0D, 0x0A};
  std::uniform_int_distribution<std::size_t> length(0, maxLength);
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 1);
  std::string out(length(rng), '\0');
  for (char& c : out) c = static_cast<char>(kAlphabet[pick(rng)]);
  return out;
}

std::string RandomValidUtf8(std::mt19937& rng, std::size_t maxPieces) {
  static const std::string kPieces[] = {"a", "b", "\r", "\n", "\r\n", std::string(1, '\0'), "\xC3\xA5",
                                        "\xE2\x82\xAC", "\xF0\x9F\x8E\xB8", " "};
  std::uniform_int_distribution<std::size_t> count(0, maxPieces);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(kPieces) - 1);
  std::string out;
  for (std::size_t n = count(rng); n > 0; --n) out += kPieces[pick(rng)];
  return out;
}

TEST(TextFileReaderModel, RandomFilesReadAsTheModelSaysAtEveryBlockSize) {
  std::mt19937 rng(20240611);
  const char* prefixes[] = {"", "\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"};
  for (int round = 0; round < 1500; ++round) {
    std::string bytes = prefixes[round % 4];
    bytes += round % 3 == 0 ? RandomValidUtf8(rng, 40) : RandomBytes(rng, 60);
    const std::string expected = ModelReadAll(bytes, "\r\n");
    for (const std::size_t blockSize : kBlockSizes) {
      const ReadResult result = ReadAllOf(bytes, blockSize);
      ASSERT_TRUE(result.ok);
      ASSERT_EQ(Hex(result.text), Hex(expected)) << "file " << Hex(bytes) << ", block size " << blockSize;
      ASSERT_EQ(Join(ReadLinesOf(bytes, blockSize), "\r\n"), result.text) << "file " << Hex(bytes);
      ASSERT_TRUE(IsValidUtf8(result.text)) << "file " << Hex(bytes);
    }
  }
}

// ---------------------------------------------------------------------------
// Long lines and the real block size.

std::string Utf16(std::u16string_view text, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t u : text) {
    const char high = static_cast<char>(u >> 8);
    const char low = static_cast<char>(u & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  }
  return out;
}

TEST(TextFileReader, LongLinesComeBackWhole) {
  const std::size_t kBlock = CTextFileReader::kDefaultBlockSize;
  for (const std::size_t length : {std::size_t{3000}, kBlock - 1, kBlock, kBlock + 1, 3 * kBlock + 17}) {
    SCOPED_TRACE("length " + std::to_string(length));
    std::string line;
    for (std::size_t i = 0; i < length; ++i) line += static_cast<char>('a' + i % 26);
    EXPECT_TRUE(SameText(ReadAllOf(line + "\r\n" + line).text, line + "\r\n" + line));
    EXPECT_TRUE(SameText(ReadAllOf("\xEF\xBB\xBF" + line).text, line));
    const std::u16string wide(line.begin(), line.end());
    EXPECT_TRUE(SameText(ReadAllOf(Utf16(wide + u"\n" + wide, false)).text, line + "\r\n" + line));
    const std::string latin(length, '\xE5');
    std::string latinUtf8;
    for (std::size_t i = 0; i < length; ++i) latinUtf8 += "\xC3\xA5";
    EXPECT_TRUE(SameText(ReadAllOf(latin + "\n").text, latinUtf8 + "\r\n"));
  }
}

// Places a line end, a surrogate pair or a multi-byte sequence at every
// offset around the end of the first real block.
TEST(TextFileReader, SequencesAcrossTheRealBlockBoundary) {
  const std::size_t kBlock = CTextFileReader::kDefaultBlockSize;
  const std::vector<std::string> fillers = {"", "\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"};
  const std::vector<std::string> middles = {"\r\n", "\r", "\n\r", std::string("\0\r", 2), "\xC3\xA5",
                                            "\xF0\x9F\x8E\xB8", "\xE5\r\n",
                                            // surrogate pair and CR LF units, in either byte order
                                            "\x3C\xD8\xB8\xDF", "\xD8\x3C\xDF\xB8", std::string("\r\0\n\0", 4),
                                            std::string("\0\r\0\n", 4)};
  for (const std::string& start : fillers) {
    for (const std::string& middle : middles) {
      for (std::size_t offset = kBlock - 5; offset <= kBlock + 1; ++offset) {
        std::string bytes = start;
        while (bytes.size() < offset) bytes += bytes.size() % 2 ? "b" : "a";
        bytes += middle + "zz";
        const ReadResult result = ReadAllOf(bytes);
        ASSERT_TRUE(SameText(result.text, ModelReadAll(bytes, "\r\n")))
            << "start " << Hex(start) << ", middle " << Hex(middle) << " at " << offset;
        ASSERT_TRUE(SameText(Join(ReadLinesOf(bytes, kBlock), "\r\n"), result.text));
      }
    }
  }
}

// A file larger than one block, where telling UTF-8 from Windows-1252 takes
// reading the whole file and starting again.
TEST(TextFileReader, MultiBlockFilesInEveryEncoding) {
  std::string utf8;
  std::u16string utf16;
  std::string windows1252;
  for (int i = 0; utf8.size() < 300000; ++i) {
    const std::string line = "[G]Sang " + std::to_string(i) + (i % 3 ? " \xC3\xA5r" : " e|--3--|");
    utf8 += line + "\r\n";
    for (std::size_t k = 0; k < line.size();) utf16 += static_cast<char16_t>(DecodeUtf8At(line, k));
    utf16 += u"\r\n";
    windows1252 += *Utf8ToWindows1252(line) + "\n";
  }
  const ReadResult fromUtf8 = ReadAllOf(utf8);
  EXPECT_TRUE(SameText(fromUtf8.text, utf8));
  EXPECT_EQ(fromUtf8.codePage, CodePage::Utf8);
  EXPECT_TRUE(SameText(ReadAllOf("\xEF\xBB\xBF" + utf8).text, utf8));
  EXPECT_TRUE(SameText(ReadAllOf(Utf16(utf16, false)).text, utf8));
  EXPECT_TRUE(SameText(ReadAllOf(Utf16(utf16, true)).text, utf8));
  const ReadResult from1252 = ReadAllOf(windows1252);
  EXPECT_TRUE(SameText(from1252.text, utf8));
  EXPECT_EQ(from1252.codePage, CodePage::Windows1252);
  // A single Windows-1252 byte at the very end still decides the code page.
  const ReadResult lateLetter = ReadAllOf(utf8 + "\xE9");
  EXPECT_EQ(lateLetter.codePage, CodePage::Windows1252);
  EXPECT_TRUE(lateLetter.text.ends_with("\r\n\xC3\xA9"));
}

// ---------------------------------------------------------------------------
// ReadSongFile and the real song files.

class TemporaryDirectory {
 public:
  TemporaryDirectory() {
    std::string pattern = (fs::temp_directory_path() / "sonavel-reader-XXXXXX").string();
    m_path = ::mkdtemp(pattern.data());
  }
  ~TemporaryDirectory() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
  }
  const fs::path& path() const { return m_path; }

 private:
  fs::path m_path;
};

TEST(ReadSongFile, FailuresGiveAReasonAndLeaveTheOutputAlone) {
  TemporaryDirectory dir;
  const fs::path fifo = dir.path() / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  struct Case {
    fs::path path;
    std::string reason;
  };
  const Case cases[] = {{dir.path() / "missing.crd", "No such file or directory"},
                        {dir.path(), "Is a directory"},
                        {fifo, "Not a regular file"}};
  for (const Case& c : cases) {
    SongFileText song{"previous", TextEncoding::Utf16BigEndian, CodePage::Windows1252};
    std::string error;
    EXPECT_FALSE(ReadSongFile(c.path, song, error));
    EXPECT_EQ(error, c.reason);
    EXPECT_EQ(song.text, "previous");
    EXPECT_EQ(song.encoding, TextEncoding::Utf16BigEndian);
  }
}

const fs::path kSongs = SONAVEL_SONGS_DIR;

std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct SongCase {
  const char* file;
  TextEncoding encoding;
  CodePage codePage;
  const char* excerpt;  // UTF-8 text the song must contain
};

std::ostream& operator<<(std::ostream& os, const SongCase& c) { return os << c.file; }

class RealSongs : public ::testing::TestWithParam<SongCase> {};

TEST_P(RealSongs, ReadInTheirEncoding) {
  const SongCase& c = GetParam();
  SongFileText song;
  std::string error;
  ASSERT_TRUE(ReadSongFile(kSongs / c.file, song, error)) << error;
  EXPECT_EQ(song.encoding, c.encoding);
  EXPECT_EQ(song.codePage, c.codePage);
  EXPECT_NE(song.text.find(c.excerpt), std::string::npos);
  EXPECT_TRUE(IsValidUtf8(song.text));
  // Line ends are all CR LF afterwards, and no mark is left in the text.
  for (std::size_t i = 0; i < song.text.size(); ++i) {
    if (song.text[i] == '\n') {
      ASSERT_TRUE(i > 0 && song.text[i - 1] == '\r') << "LF alone at " << i;
    }
    if (song.text[i] == '\r') {
      ASSERT_TRUE(i + 1 < song.text.size() && song.text[i + 1] == '\n') << "CR alone at " << i;
    }
  }
  EXPECT_FALSE(song.text.starts_with("\xEF\xBB\xBF"));
}

INSTANTIATE_TEST_SUITE_P(
    Files, RealSongs,
    ::testing::Values(
        SongCase{"openlp-songbeamer__cp1252song.sng", TextEncoding::EightBit, CodePage::Windows1252,
                 "chars\xE2\x80\x99\xE2\x80\x99\xE2\x80\x99."},
        SongCase{"openlp-songbeamer__Lobsinget_dem_Herrn.sng", TextEncoding::EightBit, CodePage::Windows1252,
                 "geb\xC3\xBChret"},
        SongCase{"openlp-lyrix__AO05.TXT", TextEncoding::EightBit, CodePage::Windows1252, "HEMELLE\xC3\xABR"},
        SongCase{"openlp-songbeamer__Groer_Gott.sng", TextEncoding::EightBit, CodePage::Utf8, "Gro\xC3\x9F"},
        SongCase{"openlp-presentationmanager__Amazing_Grace.sng", TextEncoding::Utf16LittleEndian, CodePage::Utf8,
                 "<?xml version=\"1.0\""},
        SongCase{"openlp-easyslides__amazing-grace.xml", TextEncoding::Utf8, CodePage::Utf8,
                 "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<EasiSlides>"},
        SongCase{"gracechords__amazing_grace.chordpro", TextEncoding::EightBit, CodePage::Utf8,
                 "{title: Amazing Grace}\r\n{key: D}\r\n"},
        SongCase{"openlp-powerpraise__Naher_mein_Gott_zu_Dir.ppl", TextEncoding::EightBit, CodePage::Windows1252,
                 "N\xC3\xA4her"}),
    [](const auto& info) {
      std::string name = info.param.file;
      for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      }
      return name;
    });

// Every song file: what ReadSongFile gives equals the model's reading.
TEST(RealSongs, EveryFileReadsAsTheModelSays) {
  int files = 0;
  for (const auto& entry : fs::directory_iterator(kSongs)) {
    if (!entry.is_regular_file()) continue;
    ++files;
    SongFileText song;
    std::string error;
    ASSERT_TRUE(ReadSongFile(entry.path(), song, error)) << entry.path() << ": " << error;
    EXPECT_TRUE(SameText(song.text, ModelReadAll(FileBytes(entry.path()), "\r\n"))) << entry.path();
  }
  EXPECT_GT(files, 20);
}

}  // namespace
}  // namespace sonavel
