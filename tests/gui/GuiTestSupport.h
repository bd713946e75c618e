#pragma once
// Shared pieces of the editor's widget tests: modal dialogs driven from a
// timer, files in a temporary directory, the songs beside the project and
// colour masks.

#include <QApplication>
#include <QDialog>
#include <QLocale>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "document/DocumentOptions.h"
#include "shell/DocManagerEx.h"
#include "shell/MainFrame.h"
#include "shell/Translations.h"
#include "tests/support/ColorMask.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/QtPrinters.h"
#include "view/SonavelView.h"
#include "view/TextControl.h"

namespace sonavel::test {

// Runs action once a modal widget of type Widget is on top.
using ::WhenModal;

// Every colour, position by position.
std::vector<ColorRef> Colors(const TextControl& control);

// The song files beside the project (path and name), every one of them.
struct SongFile {
  std::string name;
  std::string path;
};
const std::vector<SongFile>& SongFiles();
std::string SongPath(const std::string& name);

// A song's text the way the editor reads it (UTF-8, CR LF between lines).
std::string ReadSongText(const std::string& path);

std::string ReadBytes(const QString& path);
void WriteBytes(const QString& path, std::string_view bytes);

// A file dialog stand-in: answers with a fixed name and remembers what it
// was asked.
class FakeDocManager : public CDocManagerEx {
 public:
  bool DoPromptFileName(QString& fileName, const QString& title, bool openDialog, QWidget* owner) override;

  QString answer;  // empty: the user cancels
  QString proposed;
  int prompts = 0;
};

// A main window on the screen (offscreen) in a language, with the fake file
// dialogs and songs written to a temporary directory. The settings start
// as their defaults with autoColor and autoColorOnOpen off.
class MainWindowTest : public ::testing::Test {
 protected:
  // Call from SetUp.
  void StartMainWindow(const QLocale& locale);
  void TearDown() override;

  // Opens a song with the given bytes, as they would be on disk.
  CSonavelView* Open(const std::string& bytes);
  void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  QString Status() const;

  std::unique_ptr<CTranslations> m_translations;
  FakeDocManager m_docManager;
  std::unique_ptr<CMainFrame> m_frame;
  QTemporaryDir m_dir;
  int m_files = 0;
};

}  // namespace sonavel::test
