#pragma once
// The real song files beside the project, which tests read in place. A
// clone without them still builds and runs every other test: the lists are
// empty then, and each test program skips one test with a message saying
// where the songs are expected (SONGS_OR_SKIP).

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "document/TextFileReader.h"

namespace sonavel::test {

struct Song {
  std::string name;
  std::string path;
  std::string text;  // as the editor reads it: UTF-8, CR LF between lines
  SaveEncoding saveEncoding = SaveEncoding::Utf8;
};

inline void PrintTo(const Song& song, std::ostream* out) { *out << song.name; }

inline std::string SongsDirectory() { return SONAVEL_SONGS_DIR; }

// Every song, sorted by name; empty when the folder is missing or unreadable.
inline const std::vector<Song>& Songs() {
  static const std::vector<Song> songs = [] {
    std::vector<Song> list;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(SongsDirectory(), error)) {
      const std::string name = entry.path().filename().string();
      if (!entry.is_regular_file(error) || name == "SOURCES.md") continue;
      SongFileText file;
      ReadError reason;
      if (!ReadSongFile(entry.path(), file, reason)) continue;
      list.push_back({name, entry.path().string(), file.text, file.saveEncoding});
    }
    std::sort(list.begin(), list.end(), [](const Song& a, const Song& b) { return a.name < b.name; });
    return list;
  }();
  return songs;
}

// A test name for each song of a suite instantiated over Songs().
inline std::string SongTestName(const ::testing::TestParamInfo<Song>& info) {
  std::string name = info.param.name;
  for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

}  // namespace sonavel::test

// In a test that needs the songs: skips it, saying where they belong.
#define SONGS_OR_SKIP()                                                                                 \
  do {                                                                                                  \
    if (::sonavel::test::Songs().empty())                                                               \
      GTEST_SKIP() << "the song files are expected in " << ::sonavel::test::SongsDirectory();           \
  } while (false)

// One test per program that says whether the songs are there; a suite over
// the songs also needs GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST.
#define SONGS_PRESENT_TEST()                                                                            \
  TEST(Songs, ArePresent) {                                                                             \
    SONGS_OR_SKIP();                                                                                    \
    EXPECT_GE(::sonavel::test::Songs().size(), 20u);                                                    \
  }
