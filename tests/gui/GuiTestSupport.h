#pragma once
// Shared pieces of the editor's widget tests: a main window on the screen
// in a language, the fake file dialogs, files in a temporary directory and
// colours.

#include <QLocale>
#include <QMessageBox>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "shell/DocManagerEx.h"
#include "shell/MainFrame.h"
#include "shell/Translations.h"
#include "tests/support/ColorMask.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/QtPrinters.h"
#include "view/SonavelView.h"

class QWidget;

namespace sonavel::test {

using ::WhenModal;

inline const QLocale kSwedish(QLocale::Swedish, QLocale::Sweden);

// Every colour, position by position, and the colour an uncoloured
// character shows in.
std::vector<ColorRef> Colors(const TextControl& control);
ColorRef WidgetTextColor(const QWidget& edit);

// Everything Undo has to give back: the text as the engine sees it, every
// colour, the selection and the modified flag.
struct EditState {
  std::string text;
  std::vector<ColorRef> colors;
  Selection selection;
  bool modified = false;
  friend bool operator==(const EditState&, const EditState&) = default;
};

EditState StateOf(const TextControl& control);
void PrintTo(const EditState& state, std::ostream* out);

// A file dialog stand-in: answers with a fixed name and remembers what it
// was asked.
class FakeDocManager : public CDocManagerEx {
 public:
  bool DoPromptFileName(QString& fileName, const QString& title, bool openDialog, QWidget* owner) override;

  QString answer;  // empty: the user cancels
  QString proposed;
};

// A main window on the screen (offscreen) in a language, with the fake file
// dialogs and songs written to a temporary directory. The settings start
// as their defaults with autoColor and autoColorOnOpen off.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { StartMainWindow(); }
  void StartMainWindow(const QLocale& locale = QLocale(QLocale::English, QLocale::UnitedStates));
  void TearDown() override;

  // Writes a song file (a short song unless given its bytes) into the test's
  // folder and gives its path.
  QString WriteSong(const QString& name, std::string_view bytes = "Am C G\r\nla la\r\n");
  // Opens a song with the given bytes, as they would be on disk.
  CSonavelView* Open(const std::string& bytes);
  CSonavelView* View() const { return m_frame->ActiveView(); }
  void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  // Types the text, a line end as the Return key.
  void Type(const std::string& text);
  QString Status() const;
  std::string Text() const;  // the active song, LF between lines
  std::string Mask() const;  // its colours as ColorMask gives them
  // The text of the next message box, which is then closed with `button`.
  static void AnswerNextBox(QString* text, QMessageBox::StandardButton button = QMessageBox::Ok);
  // Sets the next Transpose dialog's steps and closes it with OK or Cancel.
  static void AnswerTransposeDialog(int steps, bool ok = true);

  std::unique_ptr<CTranslations> m_translations;
  FakeDocManager m_docManager;
  std::unique_ptr<CMainFrame> m_frame;
  QTemporaryDir m_dir;
  int m_files = 0;
};

// The main window in English, or in Swedish when the parameter is true.
class InBothLanguages : public MainWindowTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override { StartMainWindow(GetParam() ? kSwedish : QLocale(QLocale::English)); }
};

std::string LanguageName(const ::testing::TestParamInfo<bool>& info);

}  // namespace sonavel::test
