#include "tests/gui/GuiTestSupport.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <filesystem>

#include "document/TextFileReader.h"

namespace sonavel::test {

std::vector<ColorRef> Colors(const TextControl& control) {
  std::vector<ColorRef> colors;
  for (long i = 0; i < control.Length(); ++i) colors.push_back(control.ColorAt(i));
  return colors;
}

const std::vector<SongFile>& SongFiles() {
  static const std::vector<SongFile> songs = [] {
    std::vector<SongFile> list;
    for (const auto& entry : std::filesystem::directory_iterator(SONAVEL_SONGS_DIR)) {
      const std::string name = entry.path().filename().string();
      if (!entry.is_regular_file() || name == "SOURCES.md") continue;
      list.push_back({name, entry.path().string()});
    }
    std::sort(list.begin(), list.end(), [](const SongFile& a, const SongFile& b) { return a.name < b.name; });
    return list;
  }();
  return songs;
}

std::string SongPath(const std::string& name) { return std::string(SONAVEL_SONGS_DIR) + "/" + name; }

std::string ReadSongText(const std::string& path) {
  SongFileText file;
  std::string error;
  if (!ReadSongFile(path, file, error)) ADD_FAILURE() << path << ": " << error;
  return file.text;
}

std::string ReadBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

void WriteBytes(const QString& path, std::string_view bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

bool FakeDocManager::DoPromptFileName(QString& fileName, const QString&, bool, QWidget*) {
  ++prompts;
  proposed = fileName;
  if (answer.isEmpty()) return false;
  fileName = answer;
  return true;
}

}  // namespace sonavel::test
