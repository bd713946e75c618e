#include "tests/gui/GuiTestSupport.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QStatusBar>
#include <QTest>
#include <algorithm>
#include <filesystem>

#include "document/Settings.h"
#include "document/TextFileReader.h"
#include "engine/NoteTable.h"
#include "shell/ChildFrame.h"

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

void MainWindowTest::StartMainWindow(const QLocale& locale) {
  BuildChordTable();
  theSettings().SetDefaults();
  theSettings().autoColor = false;
  theSettings().autoColorOnOpen = false;
  QApplication::clipboard()->clear();
  m_translations = std::make_unique<CTranslations>(locale);
  ASSERT_EQ(m_translations->Language().language(), locale.language()) << "the catalogues are missing";
  m_frame = std::make_unique<CMainFrame>(m_docManager);
  m_frame->show();
  QApplication::setActiveWindow(m_frame.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame.get()));
}

void MainWindowTest::TearDown() {
  if (m_frame) m_frame->CloseAllDocuments();
  m_frame.reset();
  m_translations.reset();
  theSettings().SetDefaults();
}

CSonavelView* MainWindowTest::Open(const std::string& bytes) {
  const QString path = m_dir.filePath(QStringLiteral("song%1.crd").arg(++m_files));
  WriteBytes(path, bytes);
  CChildFrame* child = m_frame->OpenFile(path);
  EXPECT_NE(child, nullptr);
  return child != nullptr ? child->View() : nullptr;
}

void MainWindowTest::Press(int key, Qt::KeyboardModifiers modifiers) {
  QTest::keyClick(m_frame->ActiveView(), static_cast<Qt::Key>(key), modifiers);
}

QString MainWindowTest::Status() const { return m_frame->statusBar()->currentMessage(); }

}  // namespace sonavel::test
