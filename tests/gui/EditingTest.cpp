// What the user's own editing does to a song in the real main window: new
// text never takes a chord's colour, so a later transpose changes chords and
// frets only; every command is one step of the undo history; a song opens
// at its top; the save question shows its song.

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QMessageBox>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>
#include <ostream>

#include "dialogs/IntegerSpinEdit.h"
#include "dialogs/TransposeDialog.h"
#include "document/Settings.h"
#include "document/SonavelDoc.h"
#include "shell/ChildFrame.h"
#include "tests/gui/GuiTestSupport.h"
#include "view/MemoryTextControl.h"
#include "view/ViewCommands.h"

namespace sonavel {
namespace {

const char* const kSong = "Am C G\r\nSome lyrics here";

// The song with its lines joined by LF, as the document holds it.
std::string Lf(std::string text) {
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) text.erase(at, 1);
  return text;
}

// What a fresh start on the text gives: coloured, then transposed one step up.
std::string TransposedFromScratch(const std::string& text) {
  MemoryTextControl control;
  DocumentOptions options;
  ViewCommands commands(control, options);
  control.SetText(text);
  commands.Colorize(false, false);
  commands.OnQuickTranspose();
  return control.Text();
}

class EditingTest : public test::MainWindowTest {
 protected:
  void SetUp() override { StartMainWindow(QLocale(QLocale::English, QLocale::UnitedStates)); }

  CSonavelView* View() const { return m_frame->ActiveView(); }
  std::string Text() const { return CSonavelDoc::PlainText(*View()->document()).toStdString(); }
  std::string Mask() const { return test::ColorMask(View()->Control(), View()->Document().Options()); }

  void Type(const std::string& text) {
    for (const char c : text) {
      if (c == '\n') QTest::keyClick(View(), Qt::Key_Return);
      else QTest::keyClick(View(), c);
    }
  }

  void Paste(const QString& text, bool asHtmlOnly = false) {
    auto* data = new QMimeData;
    if (asHtmlOnly) data->setHtml(text);
    else data->setText(text);
    QApplication::clipboard()->setMimeData(data);
    Press(Qt::Key_V, Qt::ControlModifier);
  }
};

enum class How { Type, Paste };

struct EditCase {
  const char* name;
  long at;  // caret position in kSong
  How how;
  const char* text;  // LF for a new line
  bool autoColor;
  const char* expected;  // after Shift+F7
};

void PrintTo(const EditCase& c, std::ostream* out) { *out << c.name; }

class EditThenTranspose : public EditingTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(EditThenTranspose, ChangesChordsAndFretsOnly) {
  const EditCase& c = GetParam();
  theSettings().autoColorOnOpen = true;
  theSettings().autoColor = c.autoColor;
  ASSERT_NE(Open(kSong), nullptr);
  View()->Control().SetSel(c.at, c.at);
  const long before = View()->Control().Length();
  if (c.how == How::Type) Type(c.text);
  else Paste(QString::fromUtf8(c.text).replace(u'\n', QStringLiteral("\r\n")));
  const long inserted = View()->Control().Length() - before;
  ASSERT_GT(inserted, 0);
  if (!c.autoColor) {
    EXPECT_EQ(Mask().substr(static_cast<std::size_t>(c.at), static_cast<std::size_t>(inserted)),
              std::string(static_cast<std::size_t>(inserted), '.'))
        << "new text takes the text colour";
  }
  const std::string edited = Text();

  Press(Qt::Key_F7, Qt::ShiftModifier);
  EXPECT_EQ(Text(), c.expected);
  // With autoColor on, the edited song is coloured as a fresh one would be.
  if (c.autoColor) EXPECT_EQ(Text(), TransposedFromScratch(edited));
}

const EditCase kEditCases[] = {
    {"WordTypedBeforeTheChords", 0, How::Type, "Big ", false, "Big A#m C# G#\nSome lyrics here"},
    {"WordsTypedAgainstTheLastChord", 6, How::Type, "ged Hello", false, "A#m C# Gged Hello\nSome lyrics here"},
    {"SharpTypedInsideAChord", 1, How::Type, "#", false, "A#m C# G#\nSome lyrics here"},
    {"SharpTypedInsideAChordAutoColor", 1, How::Type, "#", true, "Bm C# G#\nSome lyrics here"},
    {"ChordTypedIntoAWord", 2, How::Type, "y", false, "Amy C# G#\nSome lyrics here"},
    {"LineEndTypedBeforeTheChords", 0, How::Type, "\n", false, "\nA#m C# G#\nSome lyrics here"},
    {"LinesPastedBeforeTheChords", 0, How::Paste, "la la\nD E\n", false, "la la\nD E\nA#m C# G#\nSome lyrics here"},
    {"LinesPastedBeforeTheChordsAutoColor", 0, How::Paste, "la la\nD E\n", true,
     "la la\nD# F\nA#m C# G#\nSome lyrics here"},
    {"SuffixPastedAfterAChord", 2, How::Paste, "aj7", false, "Amaj7 C# G#\nSome lyrics here"},
    {"SuffixPastedAfterAChordAutoColor", 2, How::Paste, "aj7", true, "A#maj7 C# G#\nSome lyrics here"},
};

INSTANTIATE_TEST_SUITE_P(Editing, EditThenTranspose, ::testing::ValuesIn(kEditCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Everything Undo has to give back.
struct State {
  std::string text;
  std::string mask;
  Selection selection;
  bool modified = false;
  friend bool operator==(const State&, const State&) = default;
};

void PrintTo(const State& s, std::ostream* out) {
  *out << "{" << s.text << " | " << s.mask << " | " << s.selection.start << "-" << s.selection.end
       << (s.modified ? " | modified}" : "}");
}

enum class Command { Colorize, Decolorize, TransposeDialog, QuickTranspose, TypeWithAutoColor };

struct UndoCase {
  const char* name;
  Command command;
  Selection selection;
};

void PrintTo(const UndoCase& c, std::ostream* out) { *out << c.name; }

class UndoRedo : public EditingTest, public ::testing::WithParamInterface<UndoCase> {
 protected:
  State Now() const {
    return {Text(), Mask(), View()->Control().GetSel(), View()->Document().IsModified()};
  }

  void Run(Command command) {
    switch (command) {
      case Command::Colorize: Press(Qt::Key_F5); break;
      case Command::Decolorize: Press(Qt::Key_F5, Qt::ShiftModifier); break;
      case Command::QuickTranspose: Press(Qt::Key_F7, Qt::ShiftModifier); break;
      case Command::TransposeDialog:
        test::WhenModal<CTransposeDlg>([](CTransposeDlg* dialog) {
          dialog->findChild<CIntegerSpinEdit*>(QStringLiteral("steps"))->setValue(-3);
          dialog->accept();
        });
        Press(Qt::Key_F7);
        break;
      case Command::TypeWithAutoColor:
        theSettings().autoColor = true;
        Type("Dm7");
        break;
    }
  }
};

TEST_P(UndoRedo, GiveBackTextColoursSelectionAndModifiedMark) {
  const UndoCase& c = GetParam();
  theSettings().autoColorOnOpen = c.command != Command::Colorize;
  ASSERT_NE(Open("C  Am/G\r\nla la |-3-12-| la\r\nF#m7 Bb"), nullptr);
  View()->Control().SetSel(c.selection.start, c.selection.end);
  const State before = Now();
  Run(c.command);
  const State after = Now();
  ASSERT_NE(after, before) << "the command changed nothing";

  Press(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Now(), before) << "Undo";
  EXPECT_FALSE(m_frame->isWindowModified());
  Press(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Now(), after) << "Redo with Ctrl+Y";
  Press(Qt::Key_Z, Qt::ControlModifier);
  Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Now(), after) << "Redo with Ctrl+Shift+Z";
}

const UndoCase kUndoCases[] = {
    {"F5", Command::Colorize, {3, 3}},
    {"F5OnASelection", Command::Colorize, {9, 20}},
    {"ShiftF5", Command::Decolorize, {4, 4}},
    {"F7", Command::TransposeDialog, {3, 3}},
    {"ShiftF7", Command::QuickTranspose, {1, 1}},
    {"ShiftF7OnASelection", Command::QuickTranspose, {3, 25}},
    {"TypingWithAutoColor", Command::TypeWithAutoColor, {2, 2}},
};

INSTANTIATE_TEST_SUITE_P(Editing, UndoRedo, ::testing::ValuesIn(kUndoCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditingTest, CommandsKeepTheHistoryBeforeThem) {
  theSettings().autoColorOnOpen = true;
  ASSERT_NE(Open(kSong), nullptr);
  View()->Control().SetSel(6, 6);
  Type(" D");
  Press(Qt::Key_F5);
  Press(Qt::Key_F7, Qt::ShiftModifier);
  ASSERT_EQ(Text(), "A#m C# G# D#\nSome lyrics here");
  for (int i = 0; i < 10 && View()->document()->isUndoAvailable(); ++i) Press(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Text(), Lf(kSong));
  EXPECT_FALSE(View()->Document().IsModified()) << "back at the saved text";
  EXPECT_EQ(Mask(), "cc.c.c" + std::string(17, '.')) << "and its colours";
}

TEST_F(EditingTest, ASongOpensAtItsTop) {
  std::string song;
  for (int i = 0; i < 400; ++i) song += "Am C G\r\nSome lyrics here\r\n";
  ASSERT_NE(Open(song), nullptr);
  QApplication::processEvents();
  EXPECT_EQ(View()->Control().GetSel(), (Selection{0, 0}));
  EXPECT_EQ(View()->verticalScrollBar()->value(), 0);
  Type("x");
  EXPECT_EQ(Text().substr(0, 3), "xAm");
}

TEST_F(EditingTest, HtmlOnlyClipboardPastesItsPlainText) {
  ASSERT_NE(Open("x"), nullptr);
  View()->Control().SetSel(1, 1);
  Paste(QStringLiteral("<p><b>Am</b> <span style=\"color:red\">G</span></p>"), true);
  EXPECT_EQ(Text(), "xAm G");
  EXPECT_EQ(Mask(), ".....");
}

TEST_F(EditingTest, TheSaveQuestionShowsItsSong) {
  CSonavelView* first = Open("C");
  ASSERT_NE(first, nullptr);
  Type("x");
  ASSERT_NE(Open("G"), nullptr);
  ASSERT_EQ(m_frame->ActiveView()->Document().Title(), QStringLiteral("song2.crd"));
  QString shown;
  test::WhenModal<QMessageBox>([this, &shown](QMessageBox* box) {
    shown = m_frame->ActiveView()->Document().Title();
    box->button(QMessageBox::Cancel)->click();
  });
  m_frame->close();
  EXPECT_EQ(shown, QStringLiteral("song1.crd"));
  EXPECT_EQ(m_frame->Children().size(), 2);
}

TEST_F(EditingTest, TheTitleNamesTheSongOnceWithItsModifiedMark) {
  ASSERT_NE(Open("C"), nullptr);
  const auto shownTitle = [this] { return m_frame->windowHandle()->title(); };
  EXPECT_EQ(shownTitle(), QStringLiteral("Sonavel - [song1.crd]"));
  QWidget otherProgram;  // the user drops text from another program's window
  otherProgram.show();
  QApplication::setActiveWindow(&otherProgram);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&otherProgram));
  auto* data = new QMimeData;
  data->setText(QStringLiteral("G "));
  QApplication::clipboard()->setMimeData(data);
  View()->paste();
  EXPECT_EQ(shownTitle(), QStringLiteral("Sonavel - [song1.crd*]"));
  View()->OnEditUndo();
  EXPECT_EQ(shownTitle(), QStringLiteral("Sonavel - [song1.crd]"));
}

}  // namespace
}  // namespace sonavel
