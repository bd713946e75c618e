// The control on QTextEdit against the in-memory one: the same commands on
// the same songs must leave the same characters in the same colours.

#include <QTextDocument>
#include <QTextEdit>
#include <gtest/gtest.h>
#include <random>

#include "engine/NoteTable.h"
#include "tests/gui/GuiTestSupport.h"
#include "view/MemoryTextControl.h"
#include "view/QtTextControl.h"
#include "view/ViewCommands.h"

namespace sonavel {
namespace {

struct SongCase {
  std::string name;
  std::string text;
};

// The real songs, plus texts that stress what the two controls represent
// differently: characters beyond 16 bits, no-break spaces, empty lines.
std::vector<SongCase> AllSongs() {
  std::vector<SongCase> songs;
  for (const test::SongFile& file : test::SongFiles()) songs.push_back({file.name, test::ReadSongText(file.path)});
  songs.push_back({"astral_and_nbsp",
                   "C\xC2\xA0G Am\xF0\x9F\x98\x80 e|-3-|\r\nD/F# \xF0\x9F\x98\x80\xF0\x9F\x8E\xB8 B7\r\n"
                   "|-12-5-\xF0\x9F\x8E\xB8-7-|\r\n[Am]\xF0\x9F\x98\x80 Hello C world"});
  // Long enough that a pass switches the document's layout off.
  std::string joined;
  for (const test::SongFile& file : test::SongFiles()) joined += test::ReadSongText(file.path) + "\r\n";
  songs.push_back({"all_songs_joined", joined});
  songs.push_back({"empty", ""});
  songs.push_back({"only_line_ends", "\r\n\r\n"});
  songs.push_back({"cr_line_ends", "A\rBb\rC#m7\r-3-"});
  return songs;
}

enum class Scenario {
  ColorizeAll,
  ColorizeSelection,
  DecolorizeAtCaret,
  ChordsInBrackets,
  TransposeAtCaret,
  TransposeSelection,
  FindNextChordWalk,
};

const char* ScenarioName(Scenario s) {
  switch (s) {
    case Scenario::ColorizeAll: return "ColorizeAll";
    case Scenario::ColorizeSelection: return "ColorizeSelection";
    case Scenario::DecolorizeAtCaret: return "DecolorizeAtCaret";
    case Scenario::ChordsInBrackets: return "ChordsInBrackets";
    case Scenario::TransposeAtCaret: return "TransposeAtCaret";
    case Scenario::TransposeSelection: return "TransposeSelection";
    case Scenario::FindNextChordWalk: return "FindNextChordWalk";
  }
  return "";
}

struct Snapshot {
  std::string text;
  std::vector<ColorRef> colors;
  Selection selection;
  bool modified = false;
  friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

template <typename Control>
Snapshot Take(const Control& control) {
  return {control.Text(), test::Colors(control), control.GetSel(), control.IsModified()};
}

struct Outcome {
  std::string text;
  std::vector<ColorRef> colors;
  Selection selection;
  bool modified = false;
  TransposeCounts counts;
  std::vector<Selection> walk;
  Snapshot beforeLastCommand;
};

template <typename Control>
Outcome RunScenario(Control& control, const std::string& text, Scenario scenario) {
  BuildChordTable();
  DocumentOptions options;
  control.SetText(text);
  control.SetModified(false);
  ViewCommands commands(control, options);
  const long n = control.Length();
  Outcome outcome;
  outcome.beforeLastCommand = Take(control);
  switch (scenario) {
    case Scenario::ColorizeAll:
      control.SetSel(n / 2, n / 2);
      outcome.beforeLastCommand = Take(control);
      commands.Colorize(false, false);
      break;
    case Scenario::ColorizeSelection:
      control.SetSel(n / 3, n / 2);
      outcome.beforeLastCommand = Take(control);
      commands.Colorize(false, false);
      break;
    case Scenario::DecolorizeAtCaret:
      commands.Colorize(false, false);
      control.SetSel(n / 2, n / 2);
      outcome.beforeLastCommand = Take(control);
      commands.Colorize(true, true);
      break;
    case Scenario::ChordsInBrackets:
      options.chordInBrackets = true;
      commands.Colorize(false, false);
      break;
    case Scenario::TransposeAtCaret:
      commands.Colorize(false, false);
      options.transpose.steps = 2;
      control.SetSel(n / 2, n / 2);
      outcome.beforeLastCommand = Take(control);
      outcome.counts = commands.OnQuickTranspose();
      break;
    case Scenario::TransposeSelection:
      commands.Colorize(false, false);
      options.transpose.steps = -3;
      options.transpose.key = 20;
      options.transpose.bIsBess = true;
      control.SetSel(n / 4, 3 * n / 4);
      outcome.beforeLastCommand = Take(control);
      outcome.counts = commands.OnQuickTranspose();
      break;
    case Scenario::FindNextChordWalk:
      commands.Colorize(false, false);
      control.SetSel(n / 2, n / 2);
      for (int i = 0; i < 40; ++i) {
        commands.OnFindNextChord();
        outcome.walk.push_back(control.GetSel());
      }
      break;
  }
  outcome.text = control.Text();
  outcome.colors = test::Colors(control);
  outcome.selection = control.GetSel();
  outcome.modified = control.IsModified();
  return outcome;
}

ColorRef WidgetTextColor(const QTextEdit& edit) {
  const QColor c = edit.palette().color(QPalette::Active, QPalette::Text);
  return MakeColorRef(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()),
                      static_cast<unsigned>(c.blue()));
}

class SameAsMemory : public ::testing::TestWithParam<std::tuple<SongCase, Scenario>> {};

TEST_P(SameAsMemory, CharactersColoursSelectionAndCounts) {
  const auto& [song, scenario] = GetParam();
  QTextEdit edit;
  QtTextControl qt(edit);
  MemoryTextControl memory(WidgetTextColor(edit));

  const Outcome expected = RunScenario(memory, song.text, scenario);
  const Outcome actual = RunScenario(qt, song.text, scenario);

  EXPECT_EQ(actual.text, expected.text);
  ASSERT_EQ(actual.colors.size(), expected.colors.size());
  const auto mismatch = std::mismatch(actual.colors.begin(), actual.colors.end(), expected.colors.begin());
  EXPECT_TRUE(mismatch.first == actual.colors.end())
      << "first colour difference at " << (mismatch.first - actual.colors.begin());
  EXPECT_EQ(actual.selection, expected.selection);
  EXPECT_EQ(actual.modified, expected.modified);
  EXPECT_EQ(actual.counts.chords, expected.counts.chords);
  EXPECT_EQ(actual.counts.tabs, expected.counts.tabs);
  EXPECT_EQ(actual.walk, expected.walk);
  if (scenario == Scenario::FindNextChordWalk) return;

  // The last command is one step of the history: Undo gives back text,
  // colours, selection and modified flag as they were before it, and Redo
  // what it left. A command that changed nothing left no step.
  const Snapshot after = Take(qt);
  qt.Undo();
  if (after == actual.beforeLastCommand) return;
  EXPECT_TRUE(Take(qt) == actual.beforeLastCommand) << "after Undo";
  qt.Redo();
  EXPECT_TRUE(Take(qt) == after) << "after Redo";
}

std::string CaseName(const ::testing::TestParamInfo<SameAsMemory::ParamType>& info) {
  std::string name = std::get<0>(info.param).name + "_" + ScenarioName(std::get<1>(info.param));
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Songs, SameAsMemory,
                         ::testing::Combine(::testing::ValuesIn(AllSongs()),
                                            ::testing::Values(Scenario::ColorizeAll, Scenario::ColorizeSelection,
                                                              Scenario::DecolorizeAtCaret, Scenario::ChordsInBrackets,
                                                              Scenario::TransposeAtCaret,
                                                              Scenario::TransposeSelection,
                                                              Scenario::FindNextChordWalk)),
                         CaseName);

// Random colourings and replacements, then every colour, colour-run end and
// run search compared. Catches fragment walks that stop or run on at
// paragraph breaks and position slips around characters beyond 16 bits.
TEST(QtTextControl, RandomEditsMatchMemory) {
  const std::string text =
      "Am  G\xF0\x9F\x98\x80 C\r\n\r\n|-3-\xC2\xA0-5-|\r\nx\xF0\x9F\x8E\xB8y Hello world D/F#\r\n\r\nE";
  const std::vector<std::string> inserts = {"", "C#", "\r\n", "x\r\ny", "10", "\xE9"};
  const std::vector<ColorRef> palette = {0x000000, 0xFF0000, 0x0000FF, 0x00FF00};
  std::mt19937 random(4711);

  QTextEdit edit;
  QtTextControl qt(edit);
  MemoryTextControl memory(WidgetTextColor(edit));
  qt.SetText(text);
  memory.SetText(text);
  for (int step = 0; step < 400; ++step) {
    const long n = memory.Length();
    std::uniform_int_distribution<long> position(0, n);
    long a = position(random);
    long b = position(random);
    if (a > b) std::swap(a, b);
    switch (random() % 4) {
      case 0:
      case 1: {
        const ColorRef color = palette[random() % palette.size()];
        qt.SetColor(a, b, color);
        memory.SetColor(a, b, color);
        break;
      }
      case 2:
        qt.SetPlainFormat(a, b, palette[0]);
        memory.SetPlainFormat(a, b, palette[0]);
        break;
      default: {
        const std::string& insert = inserts[random() % inserts.size()];
        if (b - a > 6) b = a + 6;
        qt.Replace(a, b, insert);
        memory.Replace(a, b, insert);
        break;
      }
    }
    ASSERT_EQ(qt.Length(), memory.Length()) << "step " << step;
    ASSERT_EQ(qt.Text8(), memory.Text8()) << "step " << step;
    ASSERT_EQ(test::Colors(qt), test::Colors(memory)) << "step " << step;
    if (memory.Length() == 0) continue;
    std::uniform_int_distribution<long> inside(0, memory.Length() - 1);
    for (int probe = 0; probe < 8; ++probe) {
      long p = inside(random);
      long limit = inside(random);
      if (p > limit) std::swap(p, limit);
      ASSERT_EQ(qt.SameColorEnd(p, limit), memory.SameColorEnd(p, limit)) << "step " << step << " at " << p;
    }
  }
  EXPECT_EQ(qt.Text(), memory.Text());
}

struct ProjectionCase {
  const char* name;
  const char* utf8;
  std::string text8;
};

class Projection : public ::testing::TestWithParam<ProjectionCase> {};

TEST_P(Projection, OneBytePerCharacterAndLineBreak) {
  QTextEdit edit;
  QtTextControl qt(edit);
  qt.SetText(GetParam().utf8);
  EXPECT_EQ(qt.Text8(), GetParam().text8);
  EXPECT_EQ(qt.Length(), static_cast<long>(GetParam().text8.size()));
}

const ProjectionCase kProjectionCases[] = {
    {"CrLfIsOneLineBreak", "A\r\nB\rC\nD", "A\nB\nC\nD"},
    {"NoBreakSpaceStaysA0", "C\xC2\xA0G", "C\xA0G"},
    {"EuroIsItsWindows1252Byte", "\xE2\x82\xAC", "\x80"},
    {"LatinLetters", "F\xC3\xA5r", "F\xE5r"},
    {"CharacterBeyond16BitsIsOnePosition", "a\xF0\x9F\x98\x80z", "a\x7Fz"},
    {"CharacterWindows1252LacksIs7F", "\xD5\xA1", "\x7F"},
    {"EmptyLinesKept", "\r\n\r\n", "\n\n"},
};

INSTANTIATE_TEST_SUITE_P(QtTextControl, Projection, ::testing::ValuesIn(kProjectionCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(QtTextControl, TextKeepsEveryCharacter) {
  QTextEdit edit;
  QtTextControl qt(edit);
  const std::string text = "C\xC2\xA0G\n\xF0\x9F\x98\x80\n\n\xE2\x80\xA8x";
  qt.SetText(text);
  EXPECT_EQ(qt.Text(), text);
}

TEST(QtTextControl, ReplaceTakesFirstReplacedFormat) {
  QTextEdit edit;
  QtTextControl qt(edit);
  qt.SetText("ab C\r\nd");
  qt.SetColor(3, 4, 0xFF0000);
  qt.SetColor(4, 5, 0x0000FF);  // the paragraph break
  qt.SetSel(0, 1);
  qt.Replace(3, 5, "Db\r\nE");
  EXPECT_EQ(qt.Text(), "ab Db\nEd");
  for (long p = 3; p < 7; ++p) EXPECT_EQ(qt.ColorAt(p), 0xFF0000u) << p;
  EXPECT_EQ(qt.GetSel(), (Selection{0, 1})) << "the edit's selection is the view logic's to set";
}

TEST(QtTextControl, SelectionCountsCharactersBeyond16BitsOnce) {
  QTextEdit edit;
  QtTextControl qt(edit);
  qt.SetText("\xF0\x9F\x98\x80 Am");
  qt.SetSel(2, 4);
  EXPECT_EQ(edit.textCursor().selectedText(), QStringLiteral("Am"));
  EXPECT_EQ(qt.GetSel(), (Selection{2, 4}));
  qt.SetSel(-1, -1);  // (0, -1) style select-all is (negative, -1)
  EXPECT_EQ(qt.GetSel(), (Selection{0, 4}));
}

TEST(QtTextControl, UserEditsAreSeenBeforeTheNextCommand) {
  QTextEdit edit;
  QtTextControl qt(edit);
  qt.SetText("G C");
  QTextCursor cursor(edit.document());
  cursor.insertText(QString::fromUtf8("\xF0\x9F\x98\x80"));
  EXPECT_EQ(qt.Length(), 4);
  EXPECT_EQ(qt.Text8(), "\x7FG C");
  qt.SetColor(1, 2, 0xFF0000);
  EXPECT_EQ(qt.ColorAt(1), 0xFF0000u);
  EXPECT_NE(qt.ColorAt(0), 0xFF0000u);
}

TEST(QtTextControl, ScrollRestoresTheFirstVisibleLine) {
  QTextEdit edit;
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
  DocumentOptions options;
  ViewCommands commands(qt, options);
  qt.SetSel(0, 0);  // the caret far above the visible lines
  qt.ScrollLines(1500 - qt.FirstVisibleLine());
  commands.Colorize(false, false);  // long enough to lay the document out anew
  EXPECT_EQ(qt.FirstVisibleLine(), 1500);
  EXPECT_EQ(qt.GetSel(), (Selection{0, 0}));
  options.transpose.steps = 2;
  qt.SetSel(qt.Length() - 1, qt.Length() - 1);  // the caret below the view
  qt.ScrollLines(1000 - qt.FirstVisibleLine());
  EXPECT_TRUE(commands.OnQuickTranspose().AnyTransposed());
  EXPECT_EQ(qt.FirstVisibleLine(), 1000);
}

}  // namespace
}  // namespace sonavel
