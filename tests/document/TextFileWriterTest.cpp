#include "document/TextFileWriter.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>

#include "document/TextEncoding.h"
#include "document/TextFileReader.h"
#include "tests/support/HexBytes.h"

namespace sonavel {
namespace {

namespace fs = std::filesystem;


std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBack(const std::string& bytes) {
  std::string copy = bytes + '\0';
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(fmemopen(copy.data(), bytes.size(), "rb"), &std::fclose);
  CTextFileReader reader(file.get());
  std::string text;
  EXPECT_TRUE(reader.ReadAll(text, "\r\n"));
  return text;
}

std::string WithCrLf(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      out += "\r\n";
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

// ---------------------------------------------------------------------------

struct EncodeCase {
  const char* name;
  std::string text;
  CodePage preferred;
  std::string bytes;
  CodePage used;
};

std::ostream& operator<<(std::ostream& os, const EncodeCase& c) { return os << c.name; }

constexpr auto kUtf8 = CodePage::Utf8;
constexpr auto kCp1252 = CodePage::Windows1252;

const EncodeCase kEncodeCases[] = {
    {"LfBecomesCrLf", "a\nb\n", kUtf8, "a\r\nb\r\n", kUtf8},
    {"LoneCrBecomesCrLf", "a\rb\r", kUtf8, "a\r\nb\r\n", kUtf8},
    {"CrLfStays", "a\r\n\r\nb", kUtf8, "a\r\n\r\nb", kUtf8},
    {"CrCrLfIsTwoBreaks", "a\r\r\nb", kUtf8, "a\r\n\r\nb", kUtf8},
    {"LfCrIsTwoBreaks", "\n\r", kUtf8, "\r\n\r\n", kUtf8},
    {"Empty", "", kCp1252, "", kCp1252},
    {"Utf8Letter", "\xC3\xA5", kUtf8, "\xC3\xA5", kUtf8},
    {"Windows1252Letter", "s\xC3\xA5ng\n", kCp1252, "s\xE5ng\r\n", kCp1252},
    {"Windows1252Euro", "\xE2\x82\xAC", kCp1252, "\x80", kCp1252},
    {"Windows1252ControlKept", "\xC2\x81", kCp1252, "\x81", kCp1252},
    {"AsciiStaysWindows1252", "C Am\n", kCp1252, "C Am\r\n", kCp1252},
    {"IncompleteUtf8MarkStaysWindows1252", "\xC3\xAF\xC2\xBB" "A", kCp1252, "\xEF\xBB" "A", kCp1252},
    // Characters Windows-1252 lacks turn the whole file into UTF-8.
    {"OmegaNeedsUtf8", "\xC3\xA5\xCE\xA9", kCp1252, "\xC3\xA5\xCE\xA9", kUtf8},
    {"GuitarNeedsUtf8", "\xF0\x9F\x8E\xB8\n", kCp1252, "\xF0\x9F\x8E\xB8\r\n", kUtf8},
    {"C1ControlWithoutByteNeedsUtf8", "\xC2\x80", kCp1252, "\xC2\x80", kUtf8},
    // Windows-1252 bytes that would read back as other characters.
    {"Windows1252BytesThatAreValidUtf8", "\xC3\x83\xC2\xA5", kCp1252, "\xC3\x83\xC2\xA5", kUtf8},
    {"Windows1252BytesLikeLittleEndianMark", "\xC3\xBF\xC3\xBE" "a\xC3\xA5", kCp1252, "\xC3\xBF\xC3\xBE" "a\xC3\xA5",
     kUtf8},
    {"Windows1252BytesLikeBigEndianMark", "\xC3\xBE\xC3\xBF", kCp1252, "\xC3\xBE\xC3\xBF", kUtf8},
    {"Windows1252BytesLikeUtf8Mark", "\xC3\xAF\xC2\xBB\xC2\xBF\xE2\x82\xAC", kCp1252,
     "\xC3\xAF\xC2\xBB\xC2\xBF\xE2\x82\xAC", kUtf8},
    // A leading U+FEFF survives only behind a real mark.
    {"LeadingZeroWidthNoBreakSpace", "\xEF\xBB\xBF" "a", kUtf8, "\xEF\xBB\xBF\xEF\xBB\xBF" "a", kUtf8},
    {"InnerZeroWidthNoBreakSpace", "a\xEF\xBB\xBF", kUtf8, "a\xEF\xBB\xBF", kUtf8},
};

class EncodeForSaveTable : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(EncodeForSaveTable, BytesAndCodePageReadBackAsTheText) {
  const EncodeCase& c = GetParam();
  CodePage used = c.used == kUtf8 ? kCp1252 : kUtf8;
  const std::string bytes = EncodeForSave(c.text, c.preferred, &used);
  EXPECT_EQ(Hex(bytes), Hex(c.bytes));
  EXPECT_EQ(used, c.used);
  EXPECT_EQ(ReadBack(bytes), WithCrLf(c.text));
  EXPECT_EQ(EncodeForSave(c.text, c.preferred, nullptr), bytes);
}

INSTANTIATE_TEST_SUITE_P(Cases, EncodeForSaveTable, ::testing::ValuesIn(kEncodeCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------

class TemporaryDirectory {
 public:
  TemporaryDirectory() {
    std::string pattern = (fs::temp_directory_path() / "sonavel-writer-XXXXXX").string();
    m_path = ::mkdtemp(pattern.data());
  }
  ~TemporaryDirectory() {
    std::error_code ec;
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(m_path, ec);
  }
  const fs::path& path() const { return m_path; }
  fs::path operator/(const std::string& name) const { return m_path / name; }

  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_path)) names.insert(entry.path().filename().string());
    return names;
  }

 private:
  fs::path m_path;
};

mode_t ModeOf(const fs::path& path) {
  struct stat status {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0);
  return status.st_mode & 07777;
}

class ScopedUmask {
 public:
  explicit ScopedUmask(mode_t mask) : m_previous(::umask(mask)) {}
  ~ScopedUmask() { ::umask(m_previous); }

 private:
  mode_t m_previous;
};

TEST(WriteFileAtomically, NewFileGetsOrdinaryPermissionsAndNoTemporaryStays) {
  TemporaryDirectory dir;
  for (const mode_t mask : {mode_t{022}, mode_t{027}, mode_t{077}}) {
    ScopedUmask umask(mask);
    const fs::path path = dir / ("song" + std::to_string(mask) + ".crd");
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, "C  G\r\n", error)) << error;
    EXPECT_EQ(FileBytes(path), "C  G\r\n");
    EXPECT_EQ(ModeOf(path), 0666 & ~mask);
  }
  EXPECT_EQ(dir.Names().size(), 3u);
}

TEST(WriteFileAtomically, ReplacingKeepsPermissionBits) {
  TemporaryDirectory dir;
  for (const mode_t mode : {mode_t{0600}, mode_t{0640}, mode_t{0604}, mode_t{0755}}) {
    const fs::path path = dir / "song.crd";
    WriteBytes(path, "old contents that are longer");
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, "new", error)) << error;
    EXPECT_EQ(FileBytes(path), "new");
    EXPECT_EQ(ModeOf(path), mode);
    EXPECT_EQ(dir.Names(), std::set<std::string>{"song.crd"});
  }
}

TEST(WriteFileAtomically, SymbolicLinksKeepPointingAtTheReplacedFile) {
  TemporaryDirectory dir;
  fs::create_directory(dir / "real");
  WriteBytes(dir / "real" / "song.crd", "old");
  // A relative link to a link, each resolved from its own directory.
  fs::create_symlink("real/song.crd", dir / "inner");
  fs::create_directory(dir / "links");
  fs::create_symlink("../inner", dir / "links" / "outer");
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(dir / "links" / "outer", "new", error)) << error;
  EXPECT_TRUE(fs::is_symlink(dir / "inner"));
  EXPECT_TRUE(fs::is_symlink(dir / "links" / "outer"));
  EXPECT_EQ(FileBytes(dir / "real" / "song.crd"), "new");
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"real", "inner", "links"}));
  EXPECT_EQ(fs::directory_iterator(dir / "real")->path().filename(), "song.crd");

  // A link to a file that does not exist yet creates that file.
  fs::create_symlink("real/new.crd", dir / "dangling");
  ASSERT_TRUE(WriteFileAtomically(dir / "dangling", "created", error)) << error;
  EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
  EXPECT_EQ(FileBytes(dir / "real" / "new.crd"), "created");
}

TEST(WriteFileAtomically, LongFileNamesStillGetATemporaryBesideThem) {
  TemporaryDirectory dir;
  const fs::path path = dir / (std::string(250, 'x') + ".crd");
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(path, "abc", error)) << error;
  EXPECT_EQ(FileBytes(path), "abc");
  EXPECT_EQ(dir.Names().size(), 1u);
}

TEST(WriteFileAtomically, FailuresNameTheReasonAndLeaveEverythingAsItWas) {
  TemporaryDirectory dir;
  WriteBytes(dir / "plain", "old");
  fs::create_directory(dir / "folder");
  fs::create_symlink("loop2", dir / "loop1");
  fs::create_symlink("loop1", dir / "loop2");
  struct Case {
    fs::path path;
    std::string reason;
  };
  const Case cases[] = {
      {dir / "plain" / "song.crd", "Not a directory"},
      {dir / "folder", "Is a directory"},
      {dir / "missing" / "song.crd", "No such file or directory"},
      {dir / "loop1", "Too many levels of symbolic links"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.string());
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(c.path, "new", error));
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);
  }
  EXPECT_EQ(FileBytes(dir / "plain"), "old");
  EXPECT_TRUE(fs::is_empty(dir / "folder"));
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"plain", "folder", "loop1", "loop2"}));
}

// Lowers the file size limit; even root cannot write past it.
class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &m_previous);
    m_previousHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = m_previous;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~ScopedFileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &m_previous);
    ::signal(SIGXFSZ, m_previousHandler);
  }

 private:
  rlimit m_previous{};
  void (*m_previousHandler)(int);
};

TEST(WriteFileAtomically, WriteFailureLeavesTheOldFileAndNoTemporary) {
  TemporaryDirectory dir;
  const fs::path path = dir / "song.crd";
  WriteBytes(path, "old song");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  std::string error;
  bool written = true;
  {
    ScopedFileSizeLimit limit(4096);
    written = WriteFileAtomically(path, std::string(100000, 'x'), error);
  }
  EXPECT_FALSE(written);
  EXPECT_NE(error.find("File too large"), std::string::npos) << error;
  EXPECT_EQ(FileBytes(path), "old song");
  EXPECT_EQ(ModeOf(path), 0640u);
  EXPECT_EQ(dir.Names(), std::set<std::string>{"song.crd"});
}

TEST(WriteSongFile, CodePageIsReportedOnlyWhenWritten) {
  TemporaryDirectory dir;
  CodePage used = CodePage::Windows1252;
  std::string error;
  // A Windows-1252 document that gained a character Windows-1252 lacks.
  ASSERT_TRUE(WriteSongFile(dir / "a.crd", "s\xC3\xA5ng \xCE\xA9\n", CodePage::Windows1252, &used, error)) << error;
  EXPECT_EQ(used, CodePage::Utf8);
  EXPECT_EQ(FileBytes(dir / "a.crd"), "s\xC3\xA5ng \xCE\xA9\r\n");

  used = CodePage::Utf8;
  ASSERT_TRUE(WriteSongFile(dir / "b.crd", "s\xC3\xA5ng\n", CodePage::Windows1252, &used, error)) << error;
  EXPECT_EQ(used, CodePage::Windows1252);
  EXPECT_EQ(FileBytes(dir / "b.crd"), "s\xE5ng\r\n");

  used = CodePage::Windows1252;
  EXPECT_FALSE(WriteSongFile(dir / "b.crd" / "c.crd", "x", CodePage::Utf8, &used, error));
  EXPECT_EQ(used, CodePage::Windows1252);
}

// ---------------------------------------------------------------------------
// Real song files, read and saved back.

const fs::path kSongs = SONAVEL_SONGS_DIR;

std::string LfToCrLf(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

struct RoundTripCase {
  const char* file;
  CodePage codePage;
  enum Expect { kSameBytes, kMarkDropped, kLfGainsCr } expect;
};

std::ostream& operator<<(std::ostream& os, const RoundTripCase& c) { return os << c.file; }

class RealSongRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RealSongRoundTrip, SavedBytesMatchTheOriginal) {
  const RoundTripCase& c = GetParam();
  const std::string original = FileBytes(kSongs / c.file);
  ASSERT_FALSE(original.empty());
  SongFileText song;
  std::string error;
  ASSERT_TRUE(ReadSongFile(kSongs / c.file, song, error)) << error;
  EXPECT_EQ(song.codePage, c.codePage);

  TemporaryDirectory dir;
  CodePage used = song.codePage;
  ASSERT_TRUE(WriteSongFile(dir / "saved", song.text, song.codePage, &used, error)) << error;
  EXPECT_EQ(used, c.codePage);
  std::string expected = original;
  if (c.expect == RoundTripCase::kMarkDropped) expected.erase(0, 3);
  if (c.expect == RoundTripCase::kLfGainsCr) expected = LfToCrLf(original);
  EXPECT_TRUE(FileBytes(dir / "saved") == expected) << "saved bytes differ from the original";
}

INSTANTIATE_TEST_SUITE_P(
    Files, RealSongRoundTrip,
    ::testing::Values(
        RoundTripCase{"openlp-lyrix__AO05.TXT", kCp1252, RoundTripCase::kSameBytes},
        RoundTripCase{"openlp-songbeamer__Lobsinget_dem_Herrn.sng", kCp1252, RoundTripCase::kSameBytes},
        RoundTripCase{"openlp-powerpraise__Naher_mein_Gott_zu_Dir.ppl", kCp1252, RoundTripCase::kSameBytes},
        RoundTripCase{"openlp-songbeamer__cp1252song.sng", kCp1252, RoundTripCase::kLfGainsCr},
        RoundTripCase{"openlp-songbeamer__Groer_Gott.sng", kUtf8, RoundTripCase::kSameBytes},
        RoundTripCase{"openlp-songselect__TestSong2023.txt", kUtf8, RoundTripCase::kSameBytes},
        RoundTripCase{"openlp-easyslides__amazing-grace.xml", kUtf8, RoundTripCase::kMarkDropped},
        RoundTripCase{"chordpro__swinglow.cho", kUtf8, RoundTripCase::kLfGainsCr},
        RoundTripCase{"chordpro__example-nepali.cho", kUtf8, RoundTripCase::kLfGainsCr},
        RoundTripCase{"gracechords__amazing_grace.chordpro", kUtf8, RoundTripCase::kLfGainsCr}),
    [](const auto& info) {
      std::string name = info.param.file;
      for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      }
      return name;
    });

// Every song, whatever its encoding, reads back as the same text once saved.
TEST(RealSongRoundTrip, EverySavedSongReadsBackTheSame) {
  TemporaryDirectory dir;
  for (const auto& entry : fs::directory_iterator(kSongs)) {
    if (!entry.is_regular_file()) continue;
    SCOPED_TRACE(entry.path().filename().string());
    SongFileText song;
    std::string error;
    ASSERT_TRUE(ReadSongFile(entry.path(), song, error)) << error;
    const fs::path saved = dir / entry.path().filename().string();
    CodePage used = song.codePage;
    ASSERT_TRUE(WriteSongFile(saved, song.text, song.codePage, &used, error)) << error;
    const std::string bytes = FileBytes(saved);
    EXPECT_FALSE(bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"));
    SongFileText again;
    ASSERT_TRUE(ReadSongFile(saved, again, error)) << error;
    EXPECT_EQ(again.text, song.text);
    EXPECT_EQ(again.encoding, TextEncoding::EightBit);
  }
}

}  // namespace
}  // namespace sonavel
