// The control on QPlainTextEdit against the in-memory one: the same commands on
// the same texts leave the same characters in the same colours, and Undo
// and Redo give back exactly what was there.

#include <QPlainTextEdit>
#include <functional>
#include <gtest/gtest.h>
#include <random>

#include "engine/NoteTable.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/Songs.h"
#include "view/MemoryTextControl.h"
#include "view/QtTextControl.h"
#include "view/ViewCommands.h"

namespace sonavel {
namespace {

SONGS_PRESENT_TEST()

// The real songs, plus texts that stress what the two controls hold
// differently: characters beyond 16 bits, no-break spaces, line ends, and a
// text long enough that a pass lays the document out anew.
std::vector<test::Song> Texts() {
  std::vector<test::Song> texts = test::Songs();
  texts.push_back({"astral_and_nbsp", "", "C\xC2\xA0G Am\xF0\x9F\x98\x80 e|-3-|\r\nD/F# \xF0\x9F\x8E\xB8 B7\r\n[Am]x C"});
  texts.push_back({"only_line_ends", "", "\r\n\r\n"});
  texts.push_back({"cr_line_ends", "", "A\rBb\rC#m7\r-3-"});
  std::string joined;
  for (const test::Song& song : test::Songs()) joined += song.text + "\r\n";
  if (!joined.empty()) texts.push_back({"all_songs_joined", "", joined});
  return texts;
}

// Each command in turn on each text, through both controls: the state is
// compared after each, and on QPlainTextEdit Undo and Redo give back exactly the
// state before and after a command that changed the text or its colours.
TEST(QtTextControl, CommandsOnEveryTextMatchMemoryAndUndoRedoGiveBackEachState) {
  BuildChordTable();
  for (const test::Song& song : Texts()) {
    SCOPED_TRACE(song.name);
    QPlainTextEdit edit;
    QtTextControl qt(edit);
    MemoryTextControl memory(test::WidgetTextColor(edit));
    qt.SetText(song.text);
    memory.SetText(song.text);
    qt.SetModified(false);
    DocumentOptions options;
    options.transpose = {-3, 20, true, true, true, 0, 15};
    ViewCommands onQt(qt, options);
    ViewCommands onMemory(memory, options);
    const long n = memory.Length();
    // Colouring a selection with chords in brackets only, all, decolouring at
    // the caret, transposing a selection, finding chords (no step to undo).
    const struct {
      Selection selection;
      bool chordInBrackets;
      int times;
      std::function<void(ViewCommands&)> command;
    } steps[] = {
        {{n / 3, n / 2}, true, 1, [](ViewCommands& v) { v.Colorize(false, false); }},
        {{n / 2, n / 2}, false, 1, [](ViewCommands& v) { v.Colorize(false, false); }},
        {{n / 2, n / 2}, false, 1, [](ViewCommands& v) { v.Colorize(true, true); }},
        {{n / 4, 3 * n / 4}, false, 1, [](ViewCommands& v) { v.OnQuickTranspose(); }},
        {{n / 2, n / 2}, false, 40, [](ViewCommands& v) { v.OnFindNextChord(); }},
    };
    for (const auto& step : steps) {
      options.chordInBrackets = step.chordInBrackets;
      qt.SetSel(step.selection.start, step.selection.end);
      memory.SetSel(step.selection.start, step.selection.end);
      const test::EditState before = test::StateOf(qt);
      for (ViewCommands* commands : {&onQt, &onMemory}) {
        for (int i = 0; i < step.times; ++i) step.command(*commands);
      }
      const test::EditState after = test::StateOf(qt);
      ASSERT_TRUE(after == test::StateOf(memory));
      if (after.text == before.text && after.colors == before.colors) continue;  // no step to undo
      qt.Undo();
      EXPECT_TRUE(test::StateOf(qt) == before) << "Undo";
      qt.Redo();
      EXPECT_TRUE(test::StateOf(qt) == after) << "Redo";
    }
  }
}

// Random colourings and replacements, then every colour and colour-run end
// compared: catches fragment walks that stop or run on at paragraph breaks
// and position slips around characters beyond 16 bits.
TEST(QtTextControl, RandomEditsMatchMemory) {
  const std::string text = "Am  G\xF0\x9F\x98\x80 C\r\n\r\n|-3-\xC2\xA0-5-|\r\nx\xF0\x9F\x8E\xB8y D/F#\r\n\r\nE";
  const char* const inserts[] = {"", "C#", "\r\n", "x\r\ny", "10", "\xE9"};
  const ColorRef palette[] = {0x000000, 0xFF0000, 0x0000FF, 0x00FF00};
  std::mt19937 random(4711);
  QPlainTextEdit edit;
  QtTextControl qt(edit);
  MemoryTextControl memory(test::WidgetTextColor(edit));
  qt.SetText(text);
  memory.SetText(text);
  for (int step = 0; step < 400; ++step) {
    std::uniform_int_distribution<long> position(0, memory.Length());
    long a = position(random);
    long b = position(random);
    if (a > b) std::swap(a, b);
    const ColorRef color = palette[random() % 4];
    const auto kind = random() % 3;  // colour, plain format or replace
    const char* insert = kind == 2 ? inserts[random() % 6] : nullptr;
    if (insert != nullptr) b = std::min(b, a + 6);
    for (TextControl* control : std::initializer_list<TextControl*>{&qt, &memory}) {
      if (kind == 0) control->SetColor(a, b, color);
      if (kind == 1) control->SetPlainFormat(a, b, color);
      if (insert != nullptr) control->Replace(a, b, insert);
    }
    ASSERT_EQ(qt.Text8(), memory.Text8()) << "step " << step;
    ASSERT_EQ(test::Colors(qt), test::Colors(memory)) << "step " << step;
    const auto around = [](const TextControl& c, long p) {
      return std::tuple(c.SameColorEnd(p, p + 9), c.Text8Range(p, p + 9), c.LineStart(p), c.LineEnd(p));
    };
    for (long p = 0; p + 1 < memory.Length(); p += 7) {
      ASSERT_EQ(around(qt, p), around(memory, p)) << "step " << step << " at " << p;
    }
  }
}

TEST(QtTextControl, KeepsEveryCharacterAndCountsEachAsOnePosition) {
  QPlainTextEdit edit;
  QtTextControl qt(edit);
  const std::string text = "C\xC2\xA0G\n\xF0\x9F\x98\x80 Am\n\n\xE2\x80\xA8\xE2\x82\xAC\xD5\xA1";
  qt.SetText(text);
  EXPECT_EQ(qt.Text(), text);
  EXPECT_EQ(qt.Text8(), "C\xA0G\n\x7F Am\n\n\x7F\x80\x7F");
  qt.SetSel(6, 8);
  EXPECT_EQ(edit.textCursor().selectedText(), QStringLiteral("Am"));
  EXPECT_EQ(qt.GetSel(), (Selection{6, 8}));
  QTextCursor(edit.document()).insertText(QString::fromUtf8("\xF0\x9F\x98\x80"));  // the user's edit
  EXPECT_EQ(qt.Text8Range(0, 5), "\x7F" "C\xA0G\n");
  EXPECT_EQ(qt.Text8().substr(0, 2), "\x7F" "C");
}

TEST(QtTextControl, CommandsKeepTheFirstVisibleLine) {
  QPlainTextEdit edit;
  edit.resize(300, 120);
  edit.show();
  QtTextControl qt(edit);
  std::string text;
  for (int i = 0; i < 2000; ++i) {
    text += "Am G C line\r\n";
    if (i % 10 == 0) text += std::string(40, 'x') + " wraps " + std::string(200, 'y') + "\r\n";
  }
  qt.SetText(text);
  for (const long line : {37L, 38L, 39L, 40L, 41L}) {  // lines of wrapped paragraphs among them
    qt.ScrollLines(line - qt.FirstVisibleLine());
    EXPECT_EQ(qt.FirstVisibleLine(), line);
  }
  // Lines far down are laid out as they come into view, which may renumber
  // them; what a command keeps is the text at the top of the view.
  const auto topOfView = [&edit] { return edit.cursorForPosition(QPoint(0, 0)).blockNumber(); };
  DocumentOptions options;
  ViewCommands commands(qt, options);
  qt.SetSel(0, 0);  // the caret far above the visible lines
  qt.ScrollLines(1500 - qt.FirstVisibleLine());
  int top = topOfView();
  commands.Colorize(false, false);  // long enough to lay the document out anew
  EXPECT_EQ(topOfView(), top);
  qt.SetSel(qt.Length() - 1, qt.Length() - 1);  // the caret below the view
  qt.ScrollLines(1000 - qt.FirstVisibleLine());
  top = topOfView();
  EXPECT_TRUE(commands.OnQuickTranspose().AnyTransposed());
  EXPECT_EQ(topOfView(), top);
}

}  // namespace
}  // namespace sonavel
