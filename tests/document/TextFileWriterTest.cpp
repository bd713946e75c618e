#include "document/TextFileWriter.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <regex>
#include <string>

#include "tests/support/HexBytes.h"
#include "tests/support/Songs.h"

namespace sonavel {
namespace {

namespace fs = std::filesystem;

constexpr auto kUtf8 = SaveEncoding::Utf8;
constexpr auto k1252 = SaveEncoding::Windows1252;

struct EncodeRow {
  const char* name;
  const char* text;  // UTF-8
  SaveEncoding preferred;
  const char* bytesHex;
  SaveEncoding used;
};

void PrintTo(const EncodeRow& row, std::ostream* os) { *os << row.name; }

const EncodeRow kEncodeRows[] = {
    // CR LF, CR CR LF, LF, LF CR and a lone CR at the very end.
    {"LineEndsBecomeCrLf", "\r\na\r\r\nb\nc\n\r", kUtf8, "0D 0A 61 0D 0A 0D 0A 62 0D 0A 63 0D 0A 0D 0A", kUtf8},
    {"Windows1252StaysWindows1252", "s\xC3\xA5ng \xE2\x82\xAC\xC2\x81\n", k1252, "73 E5 6E 67 20 80 81 0D 0A", k1252},
    {"CharacterWindows1252LacksGivesUtf8", "\xC3\xA5\xCE\xA9", k1252, "C3 A5 CE A9", kUtf8},
    // Windows-1252 bytes that would read back as other text.
    {"BytesThatAreValidUtf8", "\xC3\x83\xC2\xA5", k1252, "C3 83 C2 A5", kUtf8},
    {"BytesLikeALittleEndianMark", "\xC3\xBF\xC3\xBE" "a\xC3\xA5", k1252, "C3 BF C3 BE 61 C3 A5", kUtf8},
    {"BytesLikeABigEndianMark", "\xC3\xBE\xC3\xBF", k1252, "C3 BE C3 BF", kUtf8},
    {"BytesLikeAUtf8Mark", "\xC3\xAF\xC2\xBB\xC2\xBF\xE2\x82\xAC", k1252, "C3 AF C2 BB C2 BF E2 82 AC", kUtf8},
    // The reader would take a leading U+FEFF for a mark; a real mark in front keeps it.
    {"LeadingZeroWidthNoBreakSpace", "\xEF\xBB\xBF" "a", kUtf8, "EF BB BF EF BB BF 61", kUtf8},
    // A file read with a mark or in UTF-16 is saved so again.
    {"Utf8MarkIsKept", "\xC3\xA5\n", SaveEncoding::Utf8WithMark, "EF BB BF C3 A5 0D 0A", SaveEncoding::Utf8WithMark},
    {"Utf16LittleEndianWithSurrogates", "A\xC3\xA5\xF0\x9F\x8E\xB8\n", SaveEncoding::Utf16LittleEndian,
     "FF FE 41 00 E5 00 3C D8 B8 DF 0D 00 0A 00", SaveEncoding::Utf16LittleEndian},
    {"Utf16BigEndian", "A\xE2\x82\xAC", SaveEncoding::Utf16BigEndian, "FE FF 00 41 20 AC",
     SaveEncoding::Utf16BigEndian},
};

class EncodeTable : public ::testing::TestWithParam<EncodeRow> {};

// The text comes as a view with a line end just past it, which must not be
// taken for part of it.
TEST_P(EncodeTable, BytesAndCodePage) {
  const EncodeRow& row = GetParam();
  const std::string buffer = std::string(row.text) + "\n";
  SaveEncoding used = row.used == kUtf8 ? k1252 : kUtf8;
  EXPECT_EQ(Hex(EncodeForSave(std::string_view(buffer.data(), buffer.size() - 1), row.preferred, &used)), row.bytesHex);
  EXPECT_EQ(used, row.used);
}

INSTANTIATE_TEST_SUITE_P(Rows, EncodeTable, ::testing::ValuesIn(kEncodeRows), ::testing::PrintToStringParamName());

std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A fresh folder per test holding a file whose mode no new file gets, and a
// link to it.
class SongFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "sonavel-files-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    m_dir = pattern;
    std::ofstream(m_dir / "plain") << "old";
    fs::permissions(m_dir / "plain", fs::perms{0604});
    fs::create_symlink("plain", m_dir / "link");
  }
  void TearDown() override { fs::remove_all(m_dir); }

  // Every name in the folder with where it links to, or its mode and bytes.
  std::map<std::string, std::string> Contents() const {
    std::map<std::string, std::string> contents;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_dir)) {
      contents[entry.path().filename()] =
          entry.is_symlink() ? "-> " + fs::read_symlink(entry.path()).string()
                             : std::to_string(static_cast<int>(entry.status().permissions())) + " " + FileBytes(entry);
    }
    return contents;
  }

  // Saves "new", preferring Windows-1252, with files limited to `limit` bytes
  // (which even root cannot write past); gives the reason it failed, or "".
  std::string Save(const std::string& name, rlim_t limit = RLIM_INFINITY) {
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    const rlimit limited{std::min(limit, previous.rlim_max), previous.rlim_max};
    const auto handler = ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limited);
    SaveEncoding used = kUtf8;
    std::string error;
    const bool saved = WriteSongFile(m_dir / name, "new", k1252, &used, error);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    ::signal(SIGXFSZ, handler);
    EXPECT_EQ(used, saved ? k1252 : kUtf8);
    return error;
  }

  fs::path m_dir;
};

// A failure names its reason on one line and leaves the folder as it was:
// no half file, no temporary file. A save replaces the file a link names and
// keeps its mode.
TEST_F(SongFolder, SaveReplacesTheLinkedFileWholeOrNotAtAll) {
  auto expected = Contents();
  EXPECT_EQ(Save("missing/song.crd"), "Cannot create a temporary file: No such file or directory");
  EXPECT_EQ(Save("plain", 2), "Cannot write: File too large");
  EXPECT_EQ(Contents(), expected);
  expected["plain"].replace(expected["plain"].find(' ') + 1, std::string::npos, "new");
  EXPECT_EQ(Save("link"), "");
  EXPECT_EQ(Contents(), expected);
}

SONGS_PRESENT_TEST()

class SongRoundTrip : public ::testing::TestWithParam<test::Song> {};
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(SongRoundTrip);

// Every song, saved in the form it was read in, gives back its bytes, its
// byte-order mark included; LF line ends come back as CR LF.
TEST_P(SongRoundTrip, SavingWhatWasReadGivesBackTheBytes) {
  const test::Song& song = GetParam();
  const std::string original = FileBytes(song.path);
  // The UTF-16 songs end their lines with CR LF already.
  const bool utf16 = original.starts_with("\xFF\xFE") || original.starts_with("\xFE\xFF");
  EXPECT_EQ(EncodeForSave(song.text, song.saveEncoding, nullptr),
            utf16 ? original : std::regex_replace(original, std::regex("\r?\n"), "\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Songs, SongRoundTrip, ::testing::ValuesIn(test::Songs()), [](const auto& info) {
  std::string name = info.param.name;
  for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
});

}  // namespace
}  // namespace sonavel
