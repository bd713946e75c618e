// The editor as a user drives it in the main window, by its keys, in
// English and Swedish: what the commands change and report, what typing,
// pasting and dropping bring in, what Undo gives back, and how a song window
// looks and prints.

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMessageBox>
#include <QMimeData>
#include <QTextLayout>
#include <QPrinter>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QUrl>
#include <QWindow>
#include <gtest/gtest.h>

#include "document/Settings.h"
#include "document/SonavelDoc.h"
#include "shell/ChildFrame.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/TempFiles.h"
#include "view/MemoryTextControl.h"
#include "view/ViewCommands.h"

namespace sonavel {
namespace {

class EditorTest : public test::MainWindowTest {
 protected:
  void Paste(QMimeData* data, Selection over) {
    QApplication::clipboard()->setMimeData(data);
    View()->Control().SetSel(over.start, over.end);
    Press(Qt::Key_V, Qt::ControlModifier);
  }
  // The width the view lays its lines out to, margins included.
  static qreal LaidOutWidth(const CSonavelView& view) {
    const QTextBlock block = view.document()->firstBlock();
    view.document()->documentLayout()->blockBoundingRect(block);  // lays the block out
    return block.layout()->lineAt(0).width() + 2 * view.document()->documentMargin();
  }
};

struct CommandCase {
  const char* name;
  const char* song;
  std::vector<QKeyCombination> keys;
  const char* text;  // what a transposition writes is the view's tables' to pin
  const char* english;  // status bar, and message box when `box`
  const char* swedish;
  bool box = false;
};

void PrintTo(const CommandCase& c, std::ostream* out) { *out << c.name; }

class Commands : public EditorTest, public ::testing::WithParamInterface<std::tuple<CommandCase, bool>> {
  void SetUp() override { StartMainWindow(std::get<1>(GetParam()) ? test::kSwedish : QLocale(QLocale::English)); }
};

TEST_P(Commands, ChangeAndReportWhatTheyShould) {
  const auto& [c, swedish] = GetParam();
  ASSERT_NE(Open(c.song), nullptr);
  QString boxText;
  if (c.box) AnswerNextBox(&boxText);
  for (const QKeyCombination key : c.keys) Press(key.key(), key.keyboardModifiers());
  const QString report = QString::fromUtf8(swedish ? c.swedish : c.english);
  EXPECT_EQ(Text(), c.text);
  EXPECT_EQ(Status(), report);
  EXPECT_EQ(boxText, c.box ? report : QString());
  EXPECT_EQ(View()->Document().IsModified(),
            std::string(c.text) != test::ReadFile(m_dir.filePath("song1.crd").toStdString()));
}

const CommandCase kCommands[] = {
    {"ShiftF7Counts", "C\n|-3-5-7-|", {Qt::Key_F5, Qt::SHIFT | Qt::Key_F7}, "C#\n|-4-6-8-|",
     "1 chord and 3 tablatures transposed.", "1 ackord och 3 tabulaturer är transponerade"},
    {"ShiftF7CountsTheOtherWay", "C G\n|-3-|", {Qt::Key_F5, Qt::SHIFT | Qt::Key_F7}, "C# G#\n|-4-|",
     "2 chords and 1 tablature transposed.", "2 ackord och 1 tabulatur är transponerade"},
    {"ShiftF7WithNothingColoured", "C G", {Qt::SHIFT | Qt::Key_F7}, "C G",
     "No chords or tablatures were transposed. To make transposing possible make sure that chords and tablatures "
     "are colored (look in the Transpose menu).",
     "Inga ackord eller tabulaturer transponerades. För att transponering ska kunna ske måste ackorden eller "
     "tabulaturerna \"färgas\" först (se i menyn Transponera).",
     true},
    {"CtrlDWithNothingColoured", "C G", {Qt::CTRL | Qt::Key_D}, "C G", "No chord was found.", "Inga ackord hittades"},
};

INSTANTIATE_TEST_SUITE_P(Editor, Commands, ::testing::Combine(::testing::ValuesIn(kCommands), ::testing::Bool()),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  (std::get<1>(info.param) ? "_Swedish" : "_English");
                         });

// The Transpose dialog, the toggles and wrapping change the active song's
// options only, never another song's nor the settings; Cancel changes nothing.
TEST_F(EditorTest, OptionsBelongToTheirSongAndTheDialogsCancelChangesNothing) {
  CSonavelView* first = Open("C -3-");
  CSonavelView* second = Open("C -3-");
  ASSERT_TRUE(first && second);
  Press(Qt::Key_F5);
  for (const bool accept : {false, true}) {
    AnswerTransposeDialog(2, accept);
    Press(Qt::Key_F7);
    EXPECT_EQ(Text(), accept ? "D -5-" : "C -3-");
  }
  second->OnTransposeChords();
  second->OnTransposeTabs();
  EXPECT_FALSE(second->CanQuickTranspose());
  Press(Qt::Key_F7, Qt::ShiftModifier);  // off: no pass, no message box
  second->OnTransposeTabs();
  Press(Qt::Key_F7, Qt::ShiftModifier);
  EXPECT_EQ(Text(), "D -7-") << "by the song's own steps";
  Press(Qt::Key_W, Qt::ControlModifier);
  EXPECT_EQ(std::tuple(first->Document().Options().transpose.steps, first->TransposeChords(), LaidOutWidth(*first)),
            std::tuple(1, true, qreal(first->viewport()->width())));
  EXPECT_EQ(std::tuple(theSettings().steps, theSettings().transposeChords, theSettings().wordWrap),
            std::tuple(1, true, true));
}

// New text takes the text colour, never the colour of a chord beside it (the
// view's tables pin what a transposition then changes); with autoColor it is
// coloured as a fresh start would colour it.
TEST_F(EditorTest, TypedAndPastedTextTakesTheTextColour) {
  const struct {
    long at;
    const char* typed;  // typed, or pasted when `paste`
    bool paste;
  } rows[] = {{0, "Big ", false}, {1, "#", false}, {6, "ged Hello", false}, {0, "la la\nD E\n", true}};
  theSettings().autoColorOnOpen = true;
  for (const bool autoColor : {false, true}) {
    for (const auto& row : rows) {
      SCOPED_TRACE(std::string(row.typed) + (autoColor ? " with autoColor" : ""));
      theSettings().autoColor = autoColor;
      ASSERT_NE(Open("Am C G\r\nSome lyrics here"), nullptr);
      std::string expected = Mask();
      View()->Control().SetSel(row.at, row.at);
      if (row.paste)
        QApplication::clipboard()->setText(QString::fromUtf8(row.typed).replace(u'\n', QStringLiteral("\r\n")));
      row.paste ? Press(Qt::Key_V, Qt::ControlModifier) : Type(row.typed);
      expected.insert(static_cast<std::size_t>(row.at), Text().size() - expected.size(), '.');
      MemoryTextControl fresh;
      DocumentOptions options;
      fresh.SetText(Text());
      ViewCommands(fresh, options).Colorize(false, false);
      EXPECT_EQ(Mask(), autoColor ? test::ColorMask(fresh, options) : expected);
    }
  }
}

TEST_F(EditorTest, OnlyPlainTextComesInByPasteOrDrop) {
  theSettings().autoColor = true;
  ASSERT_NE(Open("one two three"), nullptr);
  auto* rich = new QMimeData;
  rich->setHtml(QStringLiteral("<b><span style=\"color:#ff0000;font-size:30pt\">Am</span> G</b>"));
  rich->setText(QStringLiteral("Am G"));
  Paste(rich, {4, 7});
  EXPECT_EQ(Text(), "one Am G three");
  EXPECT_EQ(Mask(), "....cc.c......");
  for (auto it = View()->document()->firstBlock().begin(); !it.atEnd(); ++it) {
    EXPECT_FALSE(it.fragment().charFormat().hasProperty(QTextFormat::FontWeight)) << "no bold from the clipboard";
  }
  auto* htmlOnly = new QMimeData;  // a program that offers only HTML
  htmlOnly->setHtml(QStringLiteral("<p><i>D</i> E</p>"));
  Paste(htmlOnly, {0, 3});
  EXPECT_EQ(Text(), "D E Am G three");

  QTextCursor end(View()->document());
  end.movePosition(QTextCursor::End);
  const QPointF at = View()->cursorRect(end).center();
  const QString other = WriteSong(QStringLiteral("other.crd"), "G");
  QMimeData file;
  file.setUrls({QUrl::fromLocalFile(other)});
  file.setText(other);
  QMimeData text;
  text.setHtml(QStringLiteral("<i> C</i>"));
  text.setText(QStringLiteral(" C"));
  for (QMimeData* data : {&text, &file}) {
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(View()->viewport(), &enter);
    QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(View()->viewport(), &drop);
    if (data != &text) break;
    EXPECT_EQ(Text(), "D E Am G three C");
    EXPECT_EQ(Mask(), "c.c.cc.c.......c");
  }
  EXPECT_EQ(Text(), "G") << "a dropped file opens as a song of its own";
}

struct UndoCase {
  const char* name;
  std::vector<QKeyCombination> keys;  // or F7 through the dialog, or typing with autoColor on
  Selection selection;
  const char* typed = "";
  bool dialog = false;
};

void PrintTo(const UndoCase& c, std::ostream* out) { *out << c.name; }

class UndoRedo : public EditorTest, public ::testing::WithParamInterface<UndoCase> {};

TEST_P(UndoRedo, GiveBackTextColoursSelectionAndModifiedMark) {
  const UndoCase& c = GetParam();
  theSettings().autoColorOnOpen = c.keys.empty() || c.keys[0] != QKeyCombination(Qt::Key_F5);
  theSettings().autoColor = true;
  ASSERT_NE(Open("C  Am/G\r\nla la |-3-12-| la\r\nF#m7 Bb"), nullptr);
  View()->Control().SetSel(c.selection.start, c.selection.end);
  const auto now = [this] { return test::StateOf(View()->Control()); };
  const test::EditState before = now();
  if (c.dialog) {
    AnswerTransposeDialog(-3);
    Press(Qt::Key_F7);
  }
  for (const QKeyCombination key : c.keys) Press(key.key(), key.keyboardModifiers());
  Type(c.typed);
  const test::EditState after = now();
  ASSERT_NE(after, before) << "the command changed nothing";

  Press(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(now(), before) << "Undo";
  EXPECT_FALSE(m_frame->isWindowModified());
  Press(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(now(), after) << "Redo with Ctrl+Y";
}

const UndoCase kUndoCases[] = {
    {"F5", {Qt::Key_F5}, {3, 3}},
    {"ShiftF5", {Qt::SHIFT | Qt::Key_F5}, {4, 4}},
    {"F7", {}, {3, 3}, "", true},
    {"ShiftF7", {Qt::SHIFT | Qt::Key_F7}, {1, 1}},
    {"TypingAWordWithAutoColor", {}, {2, 2}, "Dm7"},
};

INSTANTIATE_TEST_SUITE_P(Editor, UndoRedo, ::testing::ValuesIn(kUndoCases), ::testing::PrintToStringParamName());

TEST_F(EditorTest, ASongOpensAtItsTopAndShiftEnterEndsALine) {
  std::string song;
  for (int i = 0; i < 400; ++i) song += "Am C G\r\nSome lyrics here\r\n";
  ASSERT_NE(Open(song), nullptr);
  QApplication::processEvents();
  EXPECT_EQ(View()->Control().GetSel(), (Selection{0, 0}));
  EXPECT_EQ(View()->verticalScrollBar()->value(), 0);
  Type("x");
  QTest::keyClick(View(), Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(Text().substr(0, 4), "x\nAm");
}

TEST_F(EditorTest, TheTitleNamesTheSongOnceWithItsModifiedMark) {
  ASSERT_NE(Open("C"), nullptr);
  const auto shownTitle = [this] { return m_frame->windowHandle()->title(); };
  EXPECT_EQ(shownTitle(), QStringLiteral("Sonavel - [song1.crd]"));
  QWidget otherProgram;  // the user drops text from another program's window
  otherProgram.show();
  QApplication::setActiveWindow(&otherProgram);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&otherProgram));
  QApplication::clipboard()->setText(QStringLiteral("G "));
  View()->paste();
  EXPECT_EQ(shownTitle(), QStringLiteral("Sonavel - [song1.crd*]"));
  View()->OnEditUndo();
  EXPECT_EQ(shownTitle(), QStringLiteral("Sonavel - [song1.crd]"));
}

// The question comes in the song's language, over its own window, and
// Cancel keeps every song open.
TEST_F(EditorTest, TheSaveQuestionNamesItsSongAndCancelKeepsIt) {
  ASSERT_NE(Open("C"), nullptr);
  Type("x");
  m_translations = std::make_unique<CTranslations>(test::kSwedish);
  QTest::keyClicks(m_frame->NewFile()->View(), "G");
  QStringList asked;
  const auto answer = [this, &asked](QMessageBox* box, QMessageBox::StandardButton button) {
    asked << m_frame->ActiveView()->Document().Title() + u':' + box->text() + u':' +
                 box->button(QMessageBox::Cancel)->text();
    box->button(button)->click();
  };
  test::WhenModal<QMessageBox>([&answer](QMessageBox* first) {
    test::WhenModal<QMessageBox>([&answer](QMessageBox* second) { answer(second, QMessageBox::Cancel); });
    answer(first, QMessageBox::No);
  });
  m_frame->close();
  EXPECT_EQ(asked, QStringList({QStringLiteral("song1.crd:Vill du spara ändringarna i song1.crd?:Avbryt"),
                                QStringLiteral("Ackord1:Vill du spara ändringarna i Ackord1?:Avbryt")}));
  EXPECT_EQ(m_frame->Children().size(), 2);
}

TEST_F(EditorTest, AWindowTakesItsLookFromTheSongAndTheSettingsAndPrintsInsideHalfInchMargins) {
  CSonavelView* plain = m_frame->NewFile()->View();
  EXPECT_EQ(plain->font().family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family())
      << "Fixedsys, which Linux lacks, falls back to the fixed font";

  const QString family = QFontInfo(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).family();
  ASSERT_NE(family, plain->font().family());
  theSettings().font = family.toStdString();
  theSettings().fontSize = 15;
  theSettings().fontBold = theSettings().fontItalic = true;
  theSettings().useSystemBackground = theSettings().wordWrap = false;
  theSettings().backgroundcolor = MakeColorRef(0x10, 0x20, 0x30);
  CSonavelView* view = m_frame->NewFile()->View();
  const QFont font = view->font();
  EXPECT_EQ(std::tuple(font.family(), font.pointSize(), font.bold(), font.italic()),
            std::tuple(family, 15, true, true));
  EXPECT_EQ(view->palette().color(QPalette::Base), QColor(0x10, 0x20, 0x30));
  QTextCursor(view->document()).insertText(QString(400, u'x'));
  view->resize(300, 200);  // lines keep the page's width, whatever the window's
  EXPECT_GT(LaidOutWidth(*view), 6 * view->logicalDpiX());  // the printable width: 6 to 8 inches
  EXPECT_LT(LaidOutWidth(*view), 8 * view->logicalDpiX());
  EXPECT_GT(view->horizontalScrollBar()->maximum(), 0) << "the rest of a line is a scroll away";
  EXPECT_EQ(plain->font().pointSize(), 9) << "open windows keep their look";

  for (int i = 0; i < 200; ++i) QTextCursor(view->document()).insertText(QStringLiteral("Am   G   C   D\nla la\n"));
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setOutputFileName(m_dir.filePath(QStringLiteral("song.pdf")));
  EXPECT_GT(view->PaginatedCopy(printer)->pageCount(), 1);
  EXPECT_EQ(printer.pageLayout().margins(QPageLayout::Millimeter), QMarginsF(12.7, 12.7, 12.7, 12.7));
  view->PrintTo(printer);
  EXPECT_GT(QFileInfo(printer.outputFileName()).size(), 1000);
}

}  // namespace
}  // namespace sonavel
