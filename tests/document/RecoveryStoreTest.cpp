#include "document/RecoveryStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

namespace sonavel {
namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

unsigned Mode(const fs::path& path) {
  struct stat status {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
  return status.st_mode & 0777;
}

class RecoveryStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_root = fs::temp_directory_path() / ("recovery-test-" + RecoveryStore::NewName());
    fs::create_directories(m_root);
    m_original = m_root / "song.crd";
    WriteFile(m_original, "Am G\r\nla la\r\n");
  }
  void TearDown() override { fs::remove_all(m_root); }

  // An entry for the song as it is on disk now.
  RecoveryEntry SongEntry(const std::string& text) const {
    return {m_original.string(), "song.crd", FingerprintFile(m_original), text};
  }
  // The folder inside a state folder that does not exist yet.
  RecoveryStore Store() const { return RecoveryStore(m_root / "state" / "sonavel"); }

  fs::path m_root;
  fs::path m_original;
};

struct EntryRow {
  const char* name;
  RecoveryEntry entry;
};

void PrintTo(const EntryRow& row, std::ostream* os) { *os << row.name; }

const EntryRow kEntryRows[] = {
    {"Untitled", {"", "Chord1", std::nullopt, "Am\nla\n"}},
    {"EmptyText", {"", "Chord2", std::nullopt, ""}},
    {"FieldsThatLookLikeTheFormat", {"", "text 3\n", std::nullopt, "original 4\nfingerprint 1 2\n\n\r\xC3\xA5"}},
    {"FileWithNewlineInItsName", {"/tmp/a\nb.crd", "a\nb.crd", FileFingerprint{12, 0xFFFFFFFFFFFFFFFFu}, "G\r\n"}},
};

class RecoveryEntryTable : public ::testing::TestWithParam<EntryRow> {};

// Whatever the text holds comes back byte for byte, and a file cut short
// anywhere (a disk that filled up) is never taken for an entry.
TEST_P(RecoveryEntryTable, ComesBackWholeAndNeverFromPart) {
  const RecoveryEntry& entry = GetParam().entry;
  const std::string bytes = SerializeRecovery(entry);
  const std::optional<RecoveryEntry> back = ParseRecovery(bytes);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->originalPath, entry.originalPath);
  EXPECT_EQ(back->title, entry.title);
  EXPECT_EQ(back->original, entry.original);
  EXPECT_EQ(back->text, entry.text);
  for (std::size_t size = 0; size < bytes.size(); ++size) {
    EXPECT_FALSE(ParseRecovery(bytes.substr(0, size)).has_value()) << "cut at " << size;
  }
  EXPECT_FALSE(ParseRecovery(bytes + "x").has_value());
}

INSTANTIATE_TEST_SUITE_P(Rows, RecoveryEntryTable, ::testing::ValuesIn(kEntryRows),
                         ::testing::PrintToStringParamName());

// Entries are the user's alone and written again in place. Changes are
// only offered over the bytes they were made to: a file changed or gone
// since loses them (with a note), a file merely touched keeps them; a file
// that is no entry is left for the user to see.
TEST_F(RecoveryStoreTest, WrittenPrivatelyAndOfferedOnlyOverTheirOriginal) {
  const RecoveryStore store = Store();
  std::string error;
  ASSERT_TRUE(store.Write("kept", SongEntry("first"), error)) << error;
  ASSERT_TRUE(store.Write("kept", SongEntry("second"), error)) << error;
  ASSERT_TRUE(store.Write("untitled", {"", "Chord1", std::nullopt, "new"}, error)) << error;
  EXPECT_EQ(Mode(store.Folder()), 0700u);
  EXPECT_EQ(Mode(store.Folder() / "kept.recovery"), 0600u);
  const fs::path other = m_root / "other.crd";
  WriteFile(other, "C\r\n");
  ASSERT_TRUE(store.Write("changed", {other.string(), "other.crd", FingerprintFile(other), "x"}, error));
  WriteFile(other, "D\r\n");
  const fs::path gone = m_root / "gone.crd";
  WriteFile(gone, "E\r\n");
  ASSERT_TRUE(store.Write("gone", {gone.string(), "gone.crd", FingerprintFile(gone), "y"}, error));
  fs::remove(gone);
  WriteFile(store.Folder() / "foreign.recovery", "not ours");
  WriteFile(store.Folder() / "empty.recovery", "");
  fs::last_write_time(m_original, fs::file_time_type::clock::now() + std::chrono::hours(1));

  std::vector<std::string> notes;
  std::vector<RecoveryStore::Found> found = store.List(notes);
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(std::tuple(found[0].name, found[0].entry.text, found[0].entry.originalPath),
            std::tuple("kept", "second", m_original.string()));
  EXPECT_EQ(found[1].entry.text, "new");
  EXPECT_EQ(notes.size(), 3u);
  store.Remove("kept");
  std::vector<std::string> left;
  for (const auto& file : fs::directory_iterator(store.Folder())) left.push_back(file.path().filename());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"foreign.recovery", "untitled.recovery"}));
}

}  // namespace
}  // namespace sonavel
