#include "tests/view/TestSupport.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "document/TextEncoding.h"

namespace sonavel::test {

const std::vector<SongFile>& Songs() {
  static const std::vector<SongFile> songs = [] {
    std::vector<SongFile> list;
    for (const auto& entry : std::filesystem::directory_iterator(SONAVEL_SONGS_DIR)) {
      if (!entry.is_regular_file() || entry.path().filename() == "SOURCES.md") continue;
      std::ifstream in(entry.path(), std::ios::binary);
      std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      // Marks and UTF-16 are the reader's business; these tests want text.
      if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
      if (bytes.rfind("\xFF\xFE", 0) == 0 || bytes.rfind("\xFE\xFF", 0) == 0) continue;
      list.push_back({entry.path().filename().string(), IsValidUtf8(bytes) ? bytes : Windows1252ToUtf8(bytes)});
    }
    std::sort(list.begin(), list.end(), [](const SongFile& a, const SongFile& b) { return a.name < b.name; });
    return list;
  }();
  return songs;
}

}  // namespace sonavel::test
