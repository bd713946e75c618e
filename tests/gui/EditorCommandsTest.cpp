// The view's commands driven by their keys in the real main window, in
// English and in Swedish: what they colour, what they change, what they
// report in the status bar.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <memory>

#include "dialogs/IntegerSpinEdit.h"
#include "dialogs/TransposeDialog.h"
#include "document/Settings.h"
#include "document/SonavelDoc.h"
#include "engine/NoteTable.h"
#include "shell/ChildFrame.h"
#include "shell/MainFrame.h"
#include "shell/Translations.h"
#include "tests/gui/GuiTestSupport.h"
#include "view/MemoryTextControl.h"
#include "view/SonavelView.h"
#include "view/ViewCommands.h"

namespace sonavel {
namespace {

enum class Language { English, Swedish };

// The texts a user sees, as the resources give them.
struct Texts {
  QString chordsAndTabs;  // 60202 with the two counts' texts as %1 and %2
  QString chord, chords, tablature, tablatures;
  QString Counts(long c, long t) const {
    return chordsAndTabs.arg((c == 1 ? chord : chords).arg(c), (t == 1 ? tablature : tablatures).arg(t));
  }
  QString nothingTransposed;
  QString noChordFound;
  QString firstTitle;
  QString secondTitle;
  QString saveQuestion;   // for the first new song
  QString cancelButton;
};

Texts TextsFor(Language language) {
  if (language == Language::Swedish) {
    return {QStringLiteral("%1 och %2 är transponerade"),
            QStringLiteral("%1 ackord"), QStringLiteral("%1 ackord"), QStringLiteral("%1 tabulatur"),
            QStringLiteral("%1 tabulaturer"),
            QStringLiteral("Inga ackord eller tabulaturer transponerades. För att transponering ska kunna ske "
                           "måste ackorden eller tabulaturerna \"färgas\" först (se i menyn Transponera)."),
            QStringLiteral("Inga ackord hittades"), QStringLiteral("Ackord1"), QStringLiteral("Ackord2"),
            QStringLiteral("Vill du spara ändringarna i Ackord1?"), QStringLiteral("Avbryt")};
  }
  return {QStringLiteral("%1 and %2 transposed."),
          QStringLiteral("%1 chord"), QStringLiteral("%1 chords"), QStringLiteral("%1 tablature"),
          QStringLiteral("%1 tablatures"),
          QStringLiteral("No chords or tablatures were transposed. To make transposing possible make sure that "
                         "chords and tablatures are colored (look in the Transpose menu)."),
          QStringLiteral("No chord was found."), QStringLiteral("Chord1"), QStringLiteral("Chord2"),
          QStringLiteral("Save changes to Chord1?"), QStringLiteral("Cancel")};
}

// The same command run on the in-memory control, for comparison.
struct Reference {
  explicit Reference(const std::string& text) { control.SetText(text); }
  MemoryTextControl control;
  DocumentOptions options;
  ViewCommands commands{control, options};
};

class EditorCommands : public test::MainWindowTest, public ::testing::WithParamInterface<Language> {
 protected:
  void SetUp() override {
    StartMainWindow(GetParam() == Language::Swedish ? QLocale(QLocale::Swedish, QLocale::Sweden)
                                                    : QLocale(QLocale::English, QLocale::UnitedKingdom));
    m_texts = TextsFor(GetParam());
  }

  QAction* MenuAction(const QString& menuTitle, const QString& itemText) const {
    for (QAction* menuAction : m_frame->menuBar()->actions()) {
      if (menuAction->text() != menuTitle || menuAction->menu() == nullptr) continue;
      for (QAction* action : menuAction->menu()->actions()) {
        if (action->text() == itemText) return action;
      }
    }
    return nullptr;
  }

  Texts m_texts;
};

const char* const kTabSong = "chordpro-a2crd__t101.crd";

TEST_P(EditorCommands, F5ColoursExactlyWhatTheEngineFinds) {
  for (const char* name : {kTabSong, "chordpro__ex_tabcolour.cho", "openlp-opensong__Amazing_Grace",
                           "gracechords__amazing_grace.chordpro", "openlp-songbeamer__Lobsinget_dem_Herrn.sng"}) {
    const std::string text = test::ReadSongText(test::SongPath(name));
    CSonavelView* view = Open(test::ReadBytes(QString::fromStdString(test::SongPath(name))));
    ASSERT_NE(view, nullptr);
    view->Control().SetSel(7, 7);
    Press(Qt::Key_F5);

    Reference reference(text);
    reference.commands.Colorize(false, false);
    EXPECT_EQ(test::ColorMask(view->Control(), view->Document().Options()),
              test::ColorMask(reference.control, reference.options))
        << name;
    EXPECT_EQ(view->Control().GetSel(), (Selection{7, 7})) << name;
    EXPECT_FALSE(view->Document().IsModified()) << name;
  }
}

TEST_P(EditorCommands, F5WithSelectionAndShiftF5AtCaretTouchOnlyTheirTokens) {
  const std::string text = test::ReadSongText(test::SongPath(kTabSong));
  CSonavelView* view = Open(text);
  ASSERT_NE(view, nullptr);
  const long n = view->Control().Length();

  view->Control().SetSel(n / 3, n / 3 + 40);
  Press(Qt::Key_F5);
  Reference reference(text);
  reference.control.SetSel(n / 3, n / 3 + 40);
  reference.commands.Colorize(false, false);
  EXPECT_EQ(test::ColorMask(view->Control(), view->Document().Options()),
            test::ColorMask(reference.control, reference.options));
  EXPECT_EQ(view->Control().GetSel(), (Selection{n / 3, n / 3 + 40}));

  Press(Qt::Key_F5);  // with the same selection: no change
  view->Control().SetSel(0, 0);
  Press(Qt::Key_F5);  // the whole song
  view->Control().SetSel(n / 2, n / 2);
  Press(Qt::Key_F5, Qt::ShiftModifier);
  reference.control.SetSel(0, 0);
  reference.commands.Colorize(false, false);
  reference.control.SetSel(n / 2, n / 2);
  reference.commands.Colorize(true, true);
  EXPECT_EQ(test::ColorMask(view->Control(), view->Document().Options()),
            test::ColorMask(reference.control, reference.options));
}

TEST_P(EditorCommands, F8FlipsChordsInBracketsForThisDocumentOnly) {
  CSonavelView* first = Open("[Am]Hello C world");
  ASSERT_NE(first, nullptr);
  CSonavelView* second = Open("[Am]Hello C world\r\n");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(m_frame->ActiveView(), second);

  Press(Qt::Key_F8);
  EXPECT_TRUE(second->ChordInBrackets());
  EXPECT_FALSE(first->ChordInBrackets());
  EXPECT_EQ(test::ColorMask(second->Control(), second->Document().Options()).find('c'), std::string::npos)
      << "F8 colours nothing by itself";
  Press(Qt::Key_F5);
  EXPECT_EQ(test::ColorMask(second->Control(), second->Document().Options()), ".cc...............");
  Press(Qt::Key_F8);
  Press(Qt::Key_F5);
  EXPECT_EQ(test::ColorMask(second->Control(), second->Document().Options()), ".cc.......c.......");
  EXPECT_FALSE(theSettings().chordInBrackets) << "the settings record is not the document's";
}

TEST_P(EditorCommands, TypingColoursChordsOnlyWithAutoColor) {
  for (const bool autoColor : {true, false}) {
    theSettings().autoColor = autoColor;
    CSonavelView* view = Open("x");
    ASSERT_NE(view, nullptr);
    view->Control().SetSel(1, 1);
    Reference reference("x");
    reference.control.SetSel(1, 1);
    reference.control.SetChangeHandler([&reference, autoColor] { reference.commands.OnTextChanged(autoColor); });

    const std::string typed = " Am G7 e|-3-|";
    for (std::size_t i = 0; i < typed.size(); ++i) {
      QTest::keyClick(view, typed[i]);
      reference.control.TypeText(typed.substr(i, 1));
      ASSERT_EQ(test::ColorMask(view->Control(), view->Document().Options()),
                test::ColorMask(reference.control, reference.options))
          << "after typing " << typed.substr(0, i + 1);
    }
    const std::string mask = test::ColorMask(view->Control(), view->Document().Options());
    EXPECT_EQ(mask.find('c') != std::string::npos, autoColor) << mask;
    EXPECT_EQ(view->Control().GetSel().start, view->Control().Length());
  }
}

TEST_P(EditorCommands, ShiftEnterEndsTheLineLikeEnter) {
  CSonavelView* view = Open("Am");
  ASSERT_NE(view, nullptr);
  view->Control().SetSel(2, 2);
  QTest::keyClick(view, Qt::Key_Return, Qt::ShiftModifier);
  QTest::keyClicks(view, "G");
  EXPECT_EQ(view->document()->blockCount(), 2);
  EXPECT_EQ(view->Control().Text8(), "Am\nG");
}

TEST_P(EditorCommands, F7ThroughTheDialogTransposesTheColouredRunsAndReports) {
  const std::string text = test::ReadSongText(test::SongPath(kTabSong));
  CSonavelView* view = Open(text);
  ASSERT_NE(view, nullptr);
  Press(Qt::Key_F5);
  const long n = view->Control().Length();
  view->Control().SetSel(n / 2, n / 2);

  test::WhenModal<CTransposeDlg>([](CTransposeDlg* dialog) {
    auto* steps = dialog->findChild<CIntegerSpinEdit*>(QStringLiteral("steps"));
    ASSERT_NE(steps, nullptr);
    steps->setValue(2);
    dialog->accept();
  });
  Press(Qt::Key_F7);

  Reference reference(text);
  reference.commands.Colorize(false, false);
  reference.options.transpose.steps = 2;
  reference.control.SetSel(n / 2, n / 2);
  const TransposeCounts counts = reference.commands.OnQuickTranspose();
  ASSERT_TRUE(counts.AnyTransposed());

  EXPECT_EQ(CSonavelDoc::PlainText(*view->document()).toStdString(), reference.control.Text());
  EXPECT_EQ(test::Colors(view->Control()), test::Colors(reference.control));
  EXPECT_EQ(view->Control().GetSel(), reference.control.GetSel());
  EXPECT_EQ(Status(), m_texts.Counts(counts.chords, counts.tabs));
  EXPECT_EQ(view->Document().Options().transpose.steps, 2);
  EXPECT_EQ(theSettings().steps, 1) << "the dialog changes the document's options only";
  EXPECT_TRUE(view->Document().IsModified());
  EXPECT_TRUE(m_frame->isWindowModified());
}

TEST_P(EditorCommands, CancelInTheDialogChangesNothing) {
  CSonavelView* view = Open("C G Am\r\n");
  ASSERT_NE(view, nullptr);
  Press(Qt::Key_F5);
  test::WhenModal<CTransposeDlg>([](CTransposeDlg* dialog) {
    dialog->findChild<CIntegerSpinEdit*>(QStringLiteral("steps"))->setValue(5);
    dialog->reject();
  });
  Press(Qt::Key_F7);
  EXPECT_EQ(CSonavelDoc::PlainText(*view->document()), QStringLiteral("C G Am\n"));
  EXPECT_EQ(view->Document().Options().transpose.steps, 1);
  EXPECT_FALSE(view->Document().IsModified());
}

TEST_P(EditorCommands, ShiftF7KeepsTheSelectionAroundTheSameText) {
  const std::string text = "C   G   Am\r\nla la la\r\nF   C/E Dm7\r\ne|-3-5-|\r\n";
  CSonavelView* view = Open(text);
  ASSERT_NE(view, nullptr);
  Press(Qt::Key_F5);
  view->Control().SetSel(20, 31);  // the third line
  Press(Qt::Key_F7, Qt::ShiftModifier);
  EXPECT_EQ(CSonavelDoc::PlainText(*view->document()),
            QStringLiteral("C   G   Am\nla la la\nF#   C#/F D#m7\ne|-3-5-|\n"));
  EXPECT_EQ(view->Control().GetSel(), (Selection{20, 34}));
  EXPECT_EQ(Status(), m_texts.Counts(4, 0));
  EXPECT_TRUE(view->Document().IsModified());
}

TEST_P(EditorCommands, CountsTakeTheirSingularOrPlural) {
  const bool swedish = GetParam() == Language::Swedish;
  const struct {
    const char* song;
    QString english, swedish;
  } rows[] = {
      {"C\r\n|-3-5-7-|", QStringLiteral("1 chord and 3 tablatures transposed."),
       QStringLiteral("1 ackord och 3 tabulaturer är transponerade")},
      {"C G\r\n|-3-|", QStringLiteral("2 chords and 1 tablature transposed."),
       QStringLiteral("2 ackord och 1 tabulatur är transponerade")},
  };
  for (const auto& row : rows) {
    ASSERT_NE(Open(row.song), nullptr);
    Press(Qt::Key_F5);
    Press(Qt::Key_F7, Qt::ShiftModifier);
    EXPECT_EQ(Status(), swedish ? row.swedish : row.english);
  }
}

TEST_P(EditorCommands, NothingColouredShowsTheMessageInABoxAndTheStatusBar) {
  const std::string text = "C G Am\r\n|-3-|\r\n";
  CSonavelView* view = Open(text);
  ASSERT_NE(view, nullptr);
  QString boxText;
  QString boxTitle;
  test::WhenModal<QMessageBox>([&](QMessageBox* box) {
    boxText = box->text();
    boxTitle = box->windowTitle();
    box->accept();
  });
  Press(Qt::Key_F7, Qt::ShiftModifier);
  EXPECT_EQ(boxText, m_texts.nothingTransposed);
  EXPECT_EQ(boxTitle, QStringLiteral("Sonavel"));
  EXPECT_EQ(Status(), m_texts.nothingTransposed);
  EXPECT_EQ(CSonavelDoc::PlainText(*view->document()), QStringLiteral("C G Am\n|-3-|\n"));
  EXPECT_FALSE(view->Document().IsModified());
}

TEST_P(EditorCommands, QuickTransposeIsOffWhileNeitherKindIsTransposed) {
  CSonavelView* view = Open("C G\r\n");
  ASSERT_NE(view, nullptr);
  Press(Qt::Key_F5);
  const bool swedish = GetParam() == Language::Swedish;
  const QString menu = swedish ? QStringLiteral("&Transponera") : QStringLiteral("&Transpose");
  QAction* chords = MenuAction(menu, swedish ? QStringLiteral("Transponera &ackord") : QStringLiteral("Transpose chords"));
  QAction* tabs =
      MenuAction(menu, swedish ? QStringLiteral("Transponera &tabulaturer") : QStringLiteral("Transpose tablatures"));
  QAction* quick = MenuAction(menu, swedish ? QStringLiteral("Transponera &igen") : QStringLiteral("Quick Transpose"));
  ASSERT_TRUE(chords && tabs && quick);
  EXPECT_TRUE(chords->isChecked());
  EXPECT_TRUE(tabs->isChecked());
  chords->trigger();
  EXPECT_TRUE(quick->isEnabled());
  tabs->trigger();
  EXPECT_FALSE(chords->isChecked());
  EXPECT_FALSE(tabs->isChecked());
  EXPECT_FALSE(quick->isEnabled());
  Press(Qt::Key_F7, Qt::ShiftModifier);  // disabled: no pass, no message box
  EXPECT_EQ(CSonavelDoc::PlainText(*view->document()), QStringLiteral("C G\n"));
  EXPECT_TRUE(Status().isEmpty());
  chords->trigger();
  Press(Qt::Key_F7, Qt::ShiftModifier);
  EXPECT_EQ(CSonavelDoc::PlainText(*view->document()), QStringLiteral("C# G#\n"));
}

TEST_P(EditorCommands, CtrlDWalksTheChordsAndWraps) {
  const std::string text = test::ReadSongText(test::SongPath("openlp-opensong__Amazing_Grace"));
  CSonavelView* view = Open(text);
  ASSERT_NE(view, nullptr);
  Press(Qt::Key_D, Qt::ControlModifier);
  EXPECT_EQ(Status(), m_texts.noChordFound);

  Press(Qt::Key_F5);
  Reference reference(text);
  reference.commands.Colorize(false, false);
  const long n = view->Control().Length();
  view->Control().SetSel(n / 2, n / 2);
  reference.control.SetSel(n / 2, n / 2);
  std::vector<Selection> walk;
  Selection first;
  for (int i = 0; i < 200; ++i) {
    Press(Qt::Key_D, Qt::ControlModifier);
    reference.commands.OnFindNextChord();
    ASSERT_EQ(view->Control().GetSel(), reference.control.GetSel()) << "step " << i;
    if (i == 0) first = view->Control().GetSel();
    else if (view->Control().GetSel() == first) break;  // wrapped
    walk.push_back(view->Control().GetSel());
  }
  const auto firstChord = reference.commands.FindColorRun(reference.options.chordcolor, 0, n - 1, true);
  ASSERT_TRUE(firstChord.has_value());
  EXPECT_EQ(first, (Selection{firstChord->start, firstChord->end + 1})) << "from the middle, the first chord";
  EXPECT_GT(walk.size(), 10u);
  EXPECT_EQ(view->Control().GetSel(), first) << "after the last chord the first comes again";
}

TEST_P(EditorCommands, PasteBringsPlainTextOnly) {
  for (const bool autoColor : {false, true}) {
    theSettings().autoColor = autoColor;
    CSonavelView* view = Open("one two three");
    ASSERT_NE(view, nullptr);
    auto* data = new QMimeData;
    data->setHtml(QStringLiteral("<b><span style=\"color:#ff0000;font-size:30pt\">Am</span> G</b>"));
    data->setText(QStringLiteral("Am G"));
    QApplication::clipboard()->setMimeData(data);
    view->Control().SetSel(4, 7);  // "two"
    Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(CSonavelDoc::PlainText(*view->document()), QStringLiteral("one Am G three"));
    EXPECT_EQ(view->Control().GetSel(), (Selection{8, 8})) << "the caret stands after the pasted text";
    const QTextBlock block = view->document()->firstBlock();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      EXPECT_FALSE(format.hasProperty(QTextFormat::FontWeight)) << "no bold from the clipboard";
      EXPECT_FALSE(format.hasProperty(QTextFormat::FontPointSize)) << "no size from the clipboard";
    }
    const std::string mask = test::ColorMask(view->Control(), view->Document().Options());
    EXPECT_EQ(mask.substr(4, 4), autoColor ? "cc.c" : "....");
  }
}

TEST_P(EditorCommands, DroppedTextIsPlainAndColouredLikePastedText) {
  theSettings().autoColor = true;
  CSonavelView* view = Open("one two");
  ASSERT_NE(view, nullptr);
  QTextCursor end(view->document());
  end.movePosition(QTextCursor::End);
  const QPointF at = view->cursorRect(end).center();

  auto drop = [&](QMimeData* data) {
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &enter);
    QDropEvent event(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &event);
  };
  QMimeData files;
  files.setUrls({QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("other.crd")))});
  files.setText(m_dir.filePath(QStringLiteral("other.crd")));
  drop(&files);
  EXPECT_EQ(CSonavelDoc::PlainText(*view->document()), QStringLiteral("one two")) << "a file is no text";

  QMimeData text;
  text.setHtml(QStringLiteral("<i> Am G</i>"));
  text.setText(QStringLiteral(" Am G"));
  drop(&text);
  EXPECT_EQ(CSonavelDoc::PlainText(*view->document()), QStringLiteral("one two Am G"));
  EXPECT_EQ(test::ColorMask(view->Control(), view->Document().Options()), "........cc.c");
  EXPECT_EQ(view->Control().GetSel(), (Selection{12, 12}));
}

TEST_P(EditorCommands, FilesAndNonTextAreRefused) {
  CSonavelView* view = Open("text");
  ASSERT_NE(view, nullptr);
  auto* files = new QMimeData;
  files->setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/song.crd"))});
  files->setText(QStringLiteral("/tmp/song.crd"));
  QApplication::clipboard()->setMimeData(files);
  EXPECT_FALSE(view->canPaste());
  auto* image = new QMimeData;
  image->setImageData(QImage(4, 4, QImage::Format_RGB32));
  QApplication::clipboard()->setMimeData(image);
  EXPECT_FALSE(view->canPaste());
  QApplication::clipboard()->setText(QStringLiteral("C"));
  EXPECT_TRUE(view->canPaste());
}

TEST_P(EditorCommands, CtrlWSwitchesWrappingOfThisViewOnly) {
  CSonavelView* first = Open("a");
  CSonavelView* second = Open("b");
  ASSERT_TRUE(first && second);
  const bool swedish = GetParam() == Language::Swedish;
  QAction* wrap = MenuAction(swedish ? QStringLiteral("&Redigera") : QStringLiteral("&Edit"),
                             swedish ? QStringLiteral("&Radbryt") : QStringLiteral("Word wrap"));
  ASSERT_NE(wrap, nullptr);
  EXPECT_TRUE(wrap->isChecked());
  EXPECT_EQ(second->lineWrapMode(), QTextEdit::WidgetWidth);
  Press(Qt::Key_W, Qt::ControlModifier);
  EXPECT_EQ(second->lineWrapMode(), QTextEdit::FixedPixelWidth);
  EXPECT_GT(second->lineWrapColumnOrWidth(), 0);
  EXPECT_FALSE(wrap->isChecked());
  EXPECT_EQ(first->lineWrapMode(), QTextEdit::WidgetWidth);
  EXPECT_TRUE(theSettings().wordWrap);
  Press(Qt::Key_W, Qt::ControlModifier);
  EXPECT_EQ(second->lineWrapMode(), QTextEdit::WidgetWidth);
  EXPECT_TRUE(wrap->isChecked());
}

struct MenuItem {
  const char* english;
  const char* swedish;
  QKeySequence key;
};

TEST_P(EditorCommands, TransposeMenuHasItsItemsKeysAndSeparators) {
  ASSERT_NE(Open("C"), nullptr);
  const bool swedish = GetParam() == Language::Swedish;
  const MenuItem expected[] = {
      {"&Colorize", "&Färga", QKeySequence(Qt::Key_F5)},
      {"&Decolorize", "A&vfärga", QKeySequence(Qt::SHIFT | Qt::Key_F5)},
      {"", "", {}},
      {"Chord in [brackets]", "Ackord är i [&klamrar]", QKeySequence(Qt::Key_F8)},
      {"", "", {}},
      {"Transpose...", "T&ransponera...", QKeySequence(Qt::Key_F7)},
      {"Quick Transpose", "Transponera &igen", QKeySequence(Qt::SHIFT | Qt::Key_F7)},
      {"", "", {}},
      {"Transpose chords", "Transponera &ackord", {}},
      {"Transpose tablatures", "Transponera &tabulaturer", {}},
  };
  QMenu* menu = nullptr;
  for (QAction* action : m_frame->menuBar()->actions()) {
    if (action->text() == (swedish ? QStringLiteral("&Transponera") : QStringLiteral("&Transpose"))) menu = action->menu();
  }
  ASSERT_NE(menu, nullptr);
  const QList<QAction*> actions = menu->actions();
  ASSERT_EQ(actions.size(), static_cast<qsizetype>(std::size(expected)));
  for (qsizetype i = 0; i < actions.size(); ++i) {
    const MenuItem& item = expected[i];
    if (*item.english == '\0') {
      EXPECT_TRUE(actions[i]->isSeparator()) << i;
      continue;
    }
    EXPECT_EQ(actions[i]->text(), QString::fromUtf8(swedish ? item.swedish : item.english)) << i;
    EXPECT_EQ(actions[i]->shortcut(), item.key) << i;
  }
  QAction* colorize = actions[0];
  EXPECT_EQ(colorize->statusTip(), swedish ? QStringLiteral("Färga ackord och tabulaturer")
                                           : QStringLiteral("Colorize chords and tablatures"));
  QAction* find = MenuAction(swedish ? QStringLiteral("&Verktyg") : QStringLiteral("T&ools"),
                             swedish ? QStringLiteral("Hitta &nästa ackord") : QStringLiteral("Find next chord"));
  ASSERT_NE(find, nullptr);
  EXPECT_EQ(find->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
}

TEST_P(EditorCommands, NewSongsAreNumberedAndAskBeforeClosingUnsaved) {
  CChildFrame* first = m_frame->NewFile();
  CChildFrame* second = m_frame->NewFile();
  EXPECT_EQ(first->Document().Title(), m_texts.firstTitle);
  EXPECT_EQ(second->Document().Title(), m_texts.secondTitle);
  EXPECT_TRUE(m_frame->windowTitle().contains(m_texts.secondTitle));

  m_frame->MdiArea()->setActiveSubWindow(first);
  QTest::keyClicks(first->View(), "G");
  EXPECT_TRUE(first->isWindowModified());
  QString question;
  QString cancelText;
  test::WhenModal<QMessageBox>([&](QMessageBox* box) {
    question = box->text();
    cancelText = box->button(QMessageBox::Cancel)->text();
    box->button(QMessageBox::Cancel)->click();
  });
  first->close();
  EXPECT_EQ(question, m_texts.saveQuestion);
  EXPECT_EQ(cancelText, m_texts.cancelButton) << "Qt's own buttons speak the interface's language";
  EXPECT_EQ(m_frame->Children().size(), 2) << "cancel keeps the window";

  test::WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
  first->close();
  QApplication::processEvents();
  EXPECT_EQ(m_frame->Children().size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Languages, EditorCommands, ::testing::Values(Language::English, Language::Swedish),
                         [](const auto& info) { return info.param == Language::English ? "English" : "Swedish"; });

}  // namespace
}  // namespace sonavel
