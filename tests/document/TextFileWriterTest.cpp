#include "document/TextEncoding.h"
#include "document/TextFileWriter.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <regex>
#include <sstream>
#include <string>
#include <tuple>

#include "tests/support/HexBytes.h"
#include "tests/support/Songs.h"
#include "tests/support/TempFiles.h"

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
    {"LeadingZeroWidthNoBreakSpaceIn1252", "\xEF\xBB\xBF" "a\nb", k1252, "EF BB BF EF BB BF 61 0D 0A 62", kUtf8},
    // A file read with a mark or in UTF-16 is saved so again.
    {"Utf8MarkIsKept", "\xC3\xA5\n", SaveEncoding::Utf8WithMark, "EF BB BF C3 A5 0D 0A", SaveEncoding::Utf8WithMark},
    {"Utf16LittleEndianWithSurrogates", "A\xC3\xA5\xF0\x9F\x8E\xB8\n\xF0\x90\x80\x80", SaveEncoding::Utf16LittleEndian,
     "FF FE 41 00 E5 00 3C D8 B8 DF 0D 00 0A 00 00 D8 00 DC", SaveEncoding::Utf16LittleEndian},
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

  // Line by line, as the command-line tool saves while it reads, the same.
  SaveEncoder encoder(row.preferred);
  std::string bytes;
  ForEachLine(row.text, [&](std::string_view line, bool lineBreak) { encoder.Put(line, lineBreak, bytes); });
  encoder.Finish(bytes);
  EXPECT_EQ(Hex(bytes), row.bytesHex);
  EXPECT_EQ(encoder.Used(), row.used);
}

INSTANTIATE_TEST_SUITE_P(Rows, EncodeTable, ::testing::ValuesIn(kEncodeRows), ::testing::PrintToStringParamName());

// A fresh folder per test holding a file whose mode no new file gets, and a
// link to it.
class SongFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(m_dir / "plain") << "old";
    fs::permissions(m_dir / "plain", fs::perms{0604});
    fs::create_symlink("plain", m_dir / "link");
  }

  // Every name in the folder with where it links to, or its mode and bytes.
  std::string Listing() const {
    std::map<std::string, std::string> contents;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_dir)) {
      std::ostringstream line;
      if (entry.is_symlink()) {
        line << "-> " << fs::read_symlink(entry.path()).string();
      } else {
        line << std::oct << static_cast<int>(entry.status().permissions()) << ' ' << test::ReadFile(entry);
      }
      contents[entry.path().filename()] = line.str();
    }
    std::string listing;
    for (const auto& [name, line] : contents) listing += (listing.empty() ? "" : ", ") + name + " " + line;
    return listing;
  }

  // Saves "new", preferring Windows-1252, with files limited to `limit` bytes
  // (which even root cannot write past); gives the reason it failed, or "".
  std::string Save(const std::string& name, rlim_t limit, const FileFingerprint* expected) {
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    const rlimit limited{std::min(limit, previous.rlim_max), previous.rlim_max};
    const auto handler = ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limited);
    SaveEncoding used = kUtf8;
    WriteError error;
    const bool saved = WriteSongFile(m_dir / name, "new", k1252, &used, error, expected);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    ::signal(SIGXFSZ, handler);
    EXPECT_EQ(used, saved ? k1252 : kUtf8);
    EXPECT_EQ(error.kind == WriteErrorKind::NotWritable, error.reason == "The file is read-only") << error.reason;
    return error.reason;
  }

  const test::TempDirectory m_temp;
  const fs::path m_dir = m_temp.path;
};

struct CarefulSaveRow {
  const char* name;
  void (*setUp)(const fs::path& dir);  // null: the folder as it starts
  const char* saved;                   // the name saved under
  rlim_t limit;
  const char* expectedBytes;           // null: replaced whatever it holds
  const char* error;
  const char* listing;
  bool sameFile;  // "plain" keeps its inode, owner and group
};

void PrintTo(const CarefulSaveRow& row, std::ostream* os) { *os << row.name; }

constexpr rlim_t kNoLimit = RLIM_INFINITY;
constexpr const char* kUnchanged = "link -> plain, plain 604 old";
constexpr const char* kSaved = "link -> plain, plain 604 new";

const CarefulSaveRow kCarefulSaveRows[] = {
    {"MissingFolderLeavesNothing", nullptr, "missing/song.crd", kNoLimit, nullptr,
     "Cannot create a temporary file: No such file or directory", kUnchanged, true},
    {"WriteFailureLeavesTheOldBytes", nullptr, "plain", 2, nullptr, "Cannot write: File too large", kUnchanged, true},
    {"ReplacedByRenameKeepsTheMode", [](const fs::path& d) { fs::permissions(d / "plain", fs::perms{0640}); },
     "plain", kNoLimit, nullptr, "", "link -> plain, plain 640 new", false},
    {"LinkKeepsLinkingAndItsFileIsWritten", nullptr, "link", kNoLimit, nullptr, "", kSaved, true},
    {"FailedWriteThroughALinkPutsTheOldBytesBack",
     [](const fs::path& d) { std::ofstream(d / "plain", std::ios::trunc) << "o"; }, "link", 2, nullptr,
     "Cannot write: File too large", "link -> plain, plain 604 o", true},
    {"HardLinksStayJoined", [](const fs::path& d) { fs::create_hard_link(d / "plain", d / "hard"); }, "hard",
     kNoLimit, nullptr, "", "hard 604 new, link -> plain, plain 604 new", true},
    {"ReadOnlyFileIsRefused", [](const fs::path& d) { fs::permissions(d / "plain", fs::perms{0444}); }, "plain",
     kNoLimit, nullptr, "The file is read-only", "link -> plain, plain 444 old", true},
    {"AnotherUsersFileKeepsOwnerAndGroup",
     [](const fs::path& d) { ASSERT_EQ(::chown((d / "plain").c_str(), 4321, 4321), 0); }, "plain", kNoLimit, nullptr,
     "", kSaved, true},
    {"UnchangedFileIsReplaced", nullptr, "plain", kNoLimit, "old", "", kSaved, false},
    {"ChangedFileIsLeftAlone", nullptr, "plain", kNoLimit, "older",
     "Changed by another program since it was read; not replaced", kUnchanged, true},
    // Only our own leftovers for this name, never a file of another name.
    {"LeftoversOfAKilledSaveGo",
     [](const fs::path& d) {
       for (const char* name :
            {".plain.sonavel-save-Ab3xYz", ".plain.sonavel-save-ABCDEFG", "plain.sonavel-save-Ab3xYz"}) {
         std::ofstream(d / name) << "x";
       }
     },
     "plain", kNoLimit, nullptr, "",
     ".plain.sonavel-save-ABCDEFG 644 x, link -> plain, plain 604 new, plain.sonavel-save-Ab3xYz 644 x", false},
};

class CarefulSave : public SongFolder, public ::testing::WithParamInterface<CarefulSaveRow> {};

// A failure names its reason on one line; no row leaves a temporary file.
TEST_P(CarefulSave, KeepsEverythingAboutTheFile) {
  const CarefulSaveRow& row = GetParam();
  if (row.setUp) row.setUp(m_dir);
  struct stat before {};
  ASSERT_EQ(::stat((m_dir / "plain").c_str(), &before), 0);
  const FileFingerprint expected = FingerprintOf(row.expectedBytes ? row.expectedBytes : "");
  EXPECT_EQ(Save(row.saved, row.limit, row.expectedBytes ? &expected : nullptr), row.error);
  EXPECT_EQ(Listing(), row.listing);
  struct stat after {};
  ASSERT_EQ(::stat((m_dir / "plain").c_str(), &after), 0);
  EXPECT_EQ(std::tie(after.st_ino, after.st_uid, after.st_gid) == std::tie(before.st_ino, before.st_uid, before.st_gid),
            row.sameFile);
}

INSTANTIATE_TEST_SUITE_P(Rows, CarefulSave, ::testing::ValuesIn(kCarefulSaveRows),
                         ::testing::PrintToStringParamName());

SONGS_PRESENT_TEST()

class SongRoundTrip : public ::testing::TestWithParam<test::Song> {};
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(SongRoundTrip);

// Every song, saved in the form it was read in, gives back its bytes, its
// byte-order mark included; LF line ends come back as CR LF.
TEST_P(SongRoundTrip, SavingWhatWasReadGivesBackTheBytes) {
  const test::Song& song = GetParam();
  const std::string original = test::ReadFile(song.path);
  // The UTF-16 songs end their lines with CR LF already.
  const bool utf16 = original.starts_with("\xFF\xFE") || original.starts_with("\xFE\xFF");
  EXPECT_EQ(EncodeForSave(song.text, song.saveEncoding, nullptr),
            utf16 ? original : std::regex_replace(original, std::regex("\r?\n"), "\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Songs, SongRoundTrip, ::testing::ValuesIn(test::Songs()), test::SongTestName);

}  // namespace
}  // namespace sonavel
