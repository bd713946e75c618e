// The main window around the songs: what the command line opens, the menus
// with and without a song, every command from its menu item and its keys in
// both languages, the window's placement, quick exit, Find and Replace, and
// files dropped from a file manager.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <gtest/gtest.h>

#include "dialogs/FindReplaceDialog.h"
#include "document/Profile.h"
#include "document/Settings.h"
#include "document/SettingsStore.h"
#include "document/StringTableText.h"
#include "document/SonavelDoc.h"
#include "shell/ChildFrame.h"
#include "shell/CommandLineInfo.h"
#include "shell/CommandTable.h"
#include "shell/StartUp.h"
#include "shell/WindowPlacement.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/FakeDesktop.h"

namespace sonavel {
namespace {

class ShellTest : public test::MainWindowTest {
 protected:
  QStringList Titles() const {
    QStringList titles;
    for (const CChildFrame* child : m_frame->Children()) titles << child->Document().Title();
    return titles;
  }
  QString MenuTitles() const {
    QStringList titles;
    for (const QAction* menu : m_frame->menuBar()->actions()) titles << menu->text();
    return titles.join(u'|');
  }
  // Opens Find (Ctrl+F) or Replace (Ctrl+H) and fills in what to find.
  CFindReplaceDlg* FindDialog(Qt::Key key, const QString& what) {
    Press(key, Qt::ControlModifier);
    auto* dialog = m_frame->findChild<CFindReplaceDlg*>();
    if (dialog != nullptr) dialog->findChild<QLineEdit*>(QStringLiteral("what"))->setText(what);
    return dialog;
  }
};

const char* const kMenusWithSong = "&File|&Edit|&View|&Transpose|T&ools|&Window|&Help";
const char* const kMenusWithoutSong = "&File|&View|T&ools|&Help";

struct StartCase {
  const char* name;
  QStringList arguments;  // "%1" stands for the song, "%2" for a missing one
  QStringList titles;
  const char* menus;
  bool printed = false;
  const char* box = "";  // a part of the message the user is shown
  QStringList ignored = {};
};

void PrintTo(const StartCase& c, std::ostream* out) { *out << c.name; }

class StartUp : public ShellTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartUp, OpensWhatTheCommandLineNames) {
  const StartCase& c = GetParam();
  const QString song = WriteSong("song.crd");
  const QString pdf = m_dir.filePath(QStringLiteral("printed.pdf"));
  m_frame->Printer().setOutputFileName(pdf);
  QStringList arguments;
  for (const QString& argument : c.arguments) {
    arguments << QString(argument).replace(QStringLiteral("%1"), song).replace(QStringLiteral("%2"), song + u'x');
  }
  QString box;
  if (*c.box != '\0') AnswerNextBox(&box);
  const CCommandLineInfo line = CCommandLineInfo::Parse(arguments);
  EXPECT_EQ(line.m_ignored, c.ignored);
  ASSERT_TRUE(ShowFirstDocuments(*m_frame, line));
  EXPECT_EQ(Titles(), c.titles);
  EXPECT_EQ(MenuTitles(), QString::fromLatin1(c.menus));
  EXPECT_EQ(QFileInfo::exists(pdf), c.printed);
  EXPECT_TRUE(box.contains(QString::fromLatin1(c.box))) << box.toStdString();
  EXPECT_TRUE(m_frame->isVisible());
}

const StartCase kStarts[] = {
    {"NoArgument", {}, {"Chord1"}, kMenusWithSong},
    {"AFile", {"%1"}, {"song.crd"}, kMenusWithSong},
    {"AMissingFile", {"%2"}, {}, kMenusWithoutSong, false, "song.crdx"},
    {"PrintSwitchAlone", {"/p", "%1"}, {"Chord1"}, kMenusWithSong},
    {"DesktopOpen", {"/dde", "%1"}, {"Chord1", "song.crd"}, kMenusWithSong},
    {"DesktopPrint", {"/DDE", "/p", "%1"}, {"Chord1"}, kMenusWithSong, true},
    {"DesktopPrintToTakesThreeNamesAfterTheFile", {"/dde", "/pt", "%1", "lp", "drv", "port", "more"}, {"Chord1"},
     kMenusWithSong, false, "", {"more"}},
    {"UnknownSwitchAndFurtherFilesIgnored", {"--frobnicate", "%1", "b.crd"}, {"song.crd"}, kMenusWithSong, false, "",
     {"--frobnicate", "b.crd"}},
};

INSTANTIATE_TEST_SUITE_P(Shell, StartUp, ::testing::ValuesIn(kStarts), ::testing::PrintToStringParamName());

TEST_F(ShellTest, TheMenusFollowTheActiveSongAndTheDesktopsRequestsOpenBesideIt) {
  m_frame->ExecuteRequests(
      {{ShellRequest::Verb::Open, {WriteSong("a.crd")}}, {ShellRequest::Verb::Open, {WriteSong("b.crd")}}});
  EXPECT_EQ(Titles(), QStringList({"a.crd", "b.crd"}));
  EXPECT_EQ(m_frame->ActiveChild()->windowState() & Qt::WindowMaximized, Qt::WindowMaximized);
  m_frame->ExecuteRequests({{ShellRequest::Verb::PrintTo, {WriteSong("c.crd"), "no such printer", "", ""}}});
  EXPECT_EQ(Status(), QStringLiteral("No printer is ready to print %1.").arg(m_dir.filePath("c.crd")));
  EXPECT_EQ(Titles(), QStringList({"a.crd", "b.crd"})) << "a printed song is not kept open";
  m_frame->CloseAllDocuments();
  QApplication::processEvents();
  EXPECT_EQ(MenuTitles(), QString::fromLatin1(kMenusWithoutSong));
  EXPECT_EQ(m_frame->windowTitle(), QStringLiteral("Sonavel"));

  QMimeData files;  // as a file manager drops them, with one that is no file
  files.setUrls({QUrl::fromLocalFile(WriteSong("d.crd")), QUrl::fromLocalFile(WriteSong("e.crd")),
                 QUrl(QStringLiteral("https://example.org/f.crd"))});
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(m_frame.get(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(m_frame.get(), &drop);
  EXPECT_EQ(Titles(), QStringList({"d.crd", "e.crd"}));
  EXPECT_EQ(MenuTitles(), QString::fromLatin1(kMenusWithSong)) << "and back";
}

// Every command of the table sits once in the menus, with its text in the
// interface's language and a mnemonic no other item of its menu has, and
// its keys reach it. Keys the text box answers itself (copy, paste, undo
// and the like) do what the command does without passing through it.
using CommandWalk = test::InBothLanguages;

TEST_P(CommandWalk, ReachesEveryCommandFromItsMenuItemAndItsKeys) {
  ASSERT_NE(Open("Am C G"), nullptr);
  ASSERT_NE(Open("Am C G"), nullptr);  // for the keys that switch between songs
  std::map<int, int> inMenus;
  for (const QAction* title : m_frame->menuBar()->actions()) {
    QMap<QKeySequence, QString> mnemonics;
    for (const QAction* item : title->menu()->actions()) {
      if (item->isSeparator()) continue;
      if (const QKeySequence key = QKeySequence::mnemonic(item->text()); !key.isEmpty()) {
        EXPECT_FALSE(mnemonics.contains(key)) << item->text().toStdString() << " and "
                                              << mnemonics.value(key).toStdString();
        mnemonics.insert(key, item->text());
      }
      if (item->data().isValid()) ++inMenus[item->data().toInt()];
    }
  }
  for (QAction* action : m_frame->findChildren<QAction*>()) {
    if (action->data().isValid()) QObject::disconnect(action, &QAction::triggered, m_frame.get(), nullptr);
  }
  for (const commands::Command& command : commands::All()) {
    SCOPED_TRACE(command.text);
    QAction* action = m_frame->Action(command.id);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(inMenus[command.id], command.menu == commands::Menu::None ? 0 : 1);
    EXPECT_EQ(action->text(), QCoreApplication::translate(commands::kTextContext, command.text));
    EXPECT_EQ(action->statusTip(), QCoreApplication::translate(commands::kPromptContext, command.prompt));
    EXPECT_EQ(action->text() == QString::fromUtf8(command.text), !GetParam()) << "translated";
    for (const QKeySequence& keys : QKeySequence::listFromString(QString::fromLatin1(command.keys))) {
      QSignalSpy triggered(action, &QAction::triggered);
      bool editorsOwn = false;
      for (const auto standard : {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste, QKeySequence::SelectAll,
                                  QKeySequence::Undo, QKeySequence::Redo}) {
        editorsOwn = editorsOwn || QKeySequence::keyBindings(standard).contains(keys);
      }
      if (keys.isEmpty() || editorsOwn) continue;
      View()->setFocus();
      QTest::keySequence(View(), keys);
      EXPECT_EQ(triggered.count(), 1) << keys.toString().toStdString();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Shell, CommandWalk, ::testing::Bool(), test::LanguageName);

// F1, Ctrl+G and F12 answer from the main window with and without a song.
// No ReadMe or tune lies beside the test program, so the first two say so.
// Their texts in Swedish are the program files' and the dialogs' tests'.
TEST_F(ShellTest, HelpKeysOpenWhatTheyNameWithAndWithoutASong) {
  FakeDesktop desktop;
  const FakeDesktopInPlace inPlace(desktop);
  const std::tuple<int, Qt::KeyboardModifiers, QString> rows[] = {
      {Qt::Key_F1, Qt::NoModifier, QString::fromUtf8(sonavel::EnglishString(sonavel::IDS_README_FAILED))},
      {Qt::Key_G, Qt::ControlModifier, QString::fromUtf8(sonavel::EnglishString(sonavel::IDS_TUNER_FAILED))},
      {Qt::Key_F12, Qt::NoModifier, QStringLiteral("Settings")},
  };
  for (const bool withSong : {false, true}) {
    if (withSong) {
      ASSERT_NE(Open("Am"), nullptr);
    }
    for (const auto& [key, modifiers, expected] : rows) {
      QString shown;
      test::WhenModal<QDialog>([&shown](QDialog* dialog) {
        const auto* box = qobject_cast<QMessageBox*>(dialog);
        shown = box ? box->text() : dialog->windowTitle();
        dialog->reject();
      });
      Press(key, modifiers);
      EXPECT_EQ(shown, expected) << withSong;
    }
  }
  EXPECT_EQ(desktop.calls, QStringList()) << "nothing to hand to the desktop";
}

struct PlacementCase {
  const char* name;
  std::vector<std::pair<const char*, int>> stored;
  std::optional<QRect> geometry;
  std::optional<bool> maximised;
};

void PrintTo(const PlacementCase& c, std::ostream* out) { *out << c.name; }

class PlacementRule : public ::testing::TestWithParam<PlacementCase> {};

// A screen of 1280 by 900 with a panel of 30 at the top; icons of 32.
TEST_P(PlacementRule, GivesTheWindowItsPlace) {
  const QTemporaryDir dir;
  CProfile profile(std::make_shared<SettingsStore>(dir.filePath(QStringLiteral("store")).toStdString()));
  for (const auto& [name, value] : GetParam().stored) profile.WriteInt(CWindowPlacement::kSection, name, value);
  const ScreenFacts screens{QRect(0, 30, 1280, 870), QSize(1280, 900), QSize(32, 32), {QRect(0, 0, 1280, 900)}};
  const Placement placement = CWindowPlacement::Restore(profile, screens);
  EXPECT_EQ(placement.geometry, GetParam().geometry);
  EXPECT_EQ(placement.maximised, GetParam().maximised);
}

// What an earlier window left: always 10 for its top.
std::vector<std::pair<const char*, int>> Stored(int status, int left, int bottom, int right) {
  return {{"Status", status}, {"Top", 10}, {"Left", left}, {"Bottom", bottom}, {"Right", right}};
}

const PlacementCase kPlacements[] = {
    {"FirstStart", {}, std::nullopt, std::nullopt},
    {"Normal", Stored(1, 20, 410, 620), QRect(20, 40, 600, 400), false},
    {"Maximised", Stored(3, 20, 410, 620), QRect(20, 40, 600, 400), true},
    {"MinimisedKeepsTheStartState", Stored(2, 20, 410, 620), QRect(20, 40, 600, 400), std::nullopt},
    {"LeftPastTheLimit", Stored(1, 1500, 410, 2100), QRect(1248, 40, 600, 400), false},
    {"NegativeLeftKept", Stored(1, -200, 410, 400), QRect(-200, 40, 600, 400), false},
    {"MinusOneIsMissing", Stored(1, -1, 410, 620), std::nullopt, std::nullopt},
    {"NoArea", Stored(3, 20, 10, 620), std::nullopt, true},
    {"OffEveryScreen", Stored(1, -5000, 410, -4400), std::nullopt, false},
};

INSTANTIATE_TEST_SUITE_P(Shell, PlacementRule, ::testing::ValuesIn(kPlacements), ::testing::PrintToStringParamName());

// Escape closes the program when the settings say so, after the question
// about an unsaved song, and the placement is written even when the user
// then cancels; an open dialog keeps Escape for itself.
TEST_F(ShellTest, EscapeQuitsOnlyWithQuickExitAndAfterTheSaveQuestion) {
  CProfile().WriteInt(CWindowPlacement::kSection, "Right", -1);  // whatever an earlier window left
  ASSERT_NE(Open("C"), nullptr);
  Type("x");
  theSettings().quickExit = false;
  Press(Qt::Key_Escape);
  EXPECT_TRUE(m_frame->isVisible());
  EXPECT_EQ(CProfile().GetInt(CWindowPlacement::kSection, "Right", -1), -1);

  theSettings().quickExit = true;
  CFindReplaceDlg* dialog = FindDialog(Qt::Key_H, {});
  ASSERT_NE(dialog, nullptr);
  QTest::keyClick(dialog, Qt::Key_Escape);
  EXPECT_TRUE(!dialog->isVisible() && m_frame->isVisible()) << "a dialog keeps its Escape";
  for (const auto button : {QMessageBox::Cancel, QMessageBox::No}) {
    test::WhenModal<QMessageBox>([button](QMessageBox* box) { box->button(button)->click(); });
    Press(Qt::Key_Escape);
    EXPECT_EQ(m_frame->isVisible(), button == QMessageBox::Cancel);
    EXPECT_EQ(CProfile().GetInt(CWindowPlacement::kSection, "Right", -1), m_frame->normalGeometry().right() + 1);
  }
}

// The bars and the recent files are as the last window left them; a recent
// file that is gone comes off the list with a word to the user.
TEST_F(ShellTest, BarsAndRecentFilesOutliveTheWindow) {
  const QString song = WriteSong("gone.crd");
  ASSERT_NE(m_frame->OpenFile(song), nullptr);
  m_frame->Action(commands::kToolbar)->trigger();
  m_frame->Action(commands::kStatusBar)->trigger();
  ASSERT_TRUE(m_frame->close());
  m_frame = std::make_unique<CMainFrame>(m_docManager);
  m_frame->show();
  EXPECT_FALSE(m_frame->findChild<QToolBar*>()->isVisibleTo(m_frame.get()));
  EXPECT_FALSE(m_frame->statusBar()->isVisibleTo(m_frame.get()));
  EXPECT_FALSE(m_frame->Action(commands::kToolbar)->isChecked());
  const QString listed = m_frame->RecentFiles().Files().value(0);
  EXPECT_TRUE(listed.endsWith(QStringLiteral("/gone.crd")));

  QFile::remove(song);
  QString box;
  AnswerNextBox(&box);
  for (QAction* item : m_frame->menuBar()->actions().first()->menu()->actions()) {
    if (item->text().startsWith(QStringLiteral("&1 "))) item->trigger();
  }
  EXPECT_TRUE(box.contains(QStringLiteral("gone.crd")));
  EXPECT_FALSE(m_frame->RecentFiles().Files().contains(listed));
  EXPECT_TRUE(m_frame->Children().isEmpty());
}

struct FindCase {
  const char* name;
  FindOptions options;
  int replaced;  // by Replace All
  const char* after;
};

void PrintTo(const FindCase& c, std::ostream* out) { *out << c.name; }

class FindAndReplace : public ShellTest, public ::testing::WithParamInterface<FindCase> {};

// Replace All through the dialog: the count in the status bar, the new text,
// and one Undo giving the song back.
TEST_P(FindAndReplace, ReplaceAllIsOneStep) {
  const FindCase& c = GetParam();
  ASSERT_NE(Open("Sjö och sjön, SJÖ! Så såg\r\nAm sjö"), nullptr);
  CFindReplaceDlg* dialog = FindDialog(Qt::Key_H, c.options.what);
  ASSERT_NE(dialog, nullptr);
  dialog->findChild<QLineEdit*>(QStringLiteral("replacement"))->setText(c.options.replacement);
  for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
    if (box->text() == CFindReplaceDlg::tr("Match &case")) box->setChecked(c.options.matchCase);
    if (box->text() == CFindReplaceDlg::tr("Match &whole word only")) box->setChecked(c.options.wholeWord);
  }
  for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
    if (button->text() == CFindReplaceDlg::tr("Replace &All")) button->click();
  }
  EXPECT_EQ(Text(), c.after);
  EXPECT_EQ(Status(), QStringLiteral("%1 occurrence%2 replaced.").arg(c.replaced).arg(c.replaced == 1 ? "" : "s"));
  Press(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Text(), "Sjö och sjön, SJÖ! Så såg\nAm sjö");
}

const FindCase kFinds[] = {
    {"AnyCase", {"sjö", "hav"}, 4, "hav och havn, hav! Så såg\nAm hav"},
    {"MatchCase", {"SJÖ", "HAV", true}, 1, "Sjö och sjön, HAV! Så såg\nAm sjö"},
    {"AccentsAreLetters", {"så", "då", false, true}, 1, "Sjö och sjön, SJÖ! då såg\nAm sjö"},
    {"Nothing", {"fjäll", "berg"}, 0, "Sjö och sjön, SJÖ! Så såg\nAm sjö"},
};

INSTANTIATE_TEST_SUITE_P(Shell, FindAndReplace, ::testing::ValuesIn(kFinds), ::testing::PrintToStringParamName());

TEST_F(ShellTest, FindNextWrapsAroundAndSaysWhatItCannotFind) {
  ASSERT_NE(Open("sjö Sjö SJÖ"), nullptr);
  CFindReplaceDlg* dialog = FindDialog(Qt::Key_F, QStringLiteral("sjö"));
  ASSERT_NE(dialog, nullptr);
  dialog->close();
  std::vector<long> found;
  for (int i = 0; i < 4; ++i) {
    Press(Qt::Key_F3);
    found.push_back(View()->Control().GetSel().start);
  }
  EXPECT_EQ(found, (std::vector<long>{0, 4, 8, 0}));
  FindDialog(Qt::Key_F, QStringLiteral("hav"))->close();
  Press(Qt::Key_F3);
  EXPECT_EQ(Status(), QStringLiteral("Cannot find \"hav\"."));
  EXPECT_EQ(View()->Control().GetSel(), (Selection{0, 3}));
}

}  // namespace
}  // namespace sonavel
