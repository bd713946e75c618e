#include "document/RecoveryStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/TempFiles.h"

namespace sonavel {
namespace {

namespace fs = std::filesystem;

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
  EXPECT_EQ(std::tuple(back->originalPath, back->title, back->original, back->text),
            std::tuple(entry.originalPath, entry.title, entry.original, entry.text));
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
TEST(RecoveryStore, WrittenPrivatelyAndOfferedOnlyOverTheirOriginal) {
  const test::TempDirectory root;
  // An entry for a file of the folder, which is written with the bytes first.
  const auto entryFor = [&root](const char* name, const char* bytes, const char* text) {
    test::WriteFile(root.path / name, bytes);
    return RecoveryEntry{(root.path / name).string(), name, FingerprintFile(root.path / name), text};
  };
  const fs::path song = root.path / "song.crd";
  // The folder inside a state folder that does not exist yet.
  const RecoveryStore store(root.path / "state" / "sonavel");
  std::string error;
  ASSERT_TRUE(store.Write("kept", entryFor("song.crd", "Am G\r\nla la\r\n", "first"), error)) << error;
  ASSERT_TRUE(store.Write("kept", entryFor("song.crd", "Am G\r\nla la\r\n", "second"), error)) << error;
  ASSERT_TRUE(store.Write("untitled", {"", "Chord1", std::nullopt, "new"}, error)) << error;
  EXPECT_EQ(fs::status(store.Folder()).permissions(), fs::perms{0700});
  EXPECT_EQ(fs::status(store.Folder() / "kept.recovery").permissions(), fs::perms{0600});
  ASSERT_TRUE(store.Write("changed", entryFor("other.crd", "C\r\n", "x"), error));
  test::WriteFile(root.path / "other.crd", "D\r\n");
  ASSERT_TRUE(store.Write("gone", entryFor("gone.crd", "E\r\n", "y"), error));
  fs::remove(root.path / "gone.crd");
  test::WriteFile(store.Folder() / "foreign.recovery", "not ours");
  test::WriteFile(store.Folder() / "empty.recovery", "");
  fs::last_write_time(song, fs::file_time_type::clock::now() + std::chrono::hours(1));

  std::vector<std::string> notes;
  std::vector<RecoveryStore::Found> found = store.List(notes);
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(std::tuple(found[0].name, found[0].entry.text, found[0].entry.originalPath),
            std::tuple("kept", "second", song.string()));
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
