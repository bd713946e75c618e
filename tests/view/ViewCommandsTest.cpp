// The view's commands on the in-memory control: what Colorize and
// Decolorize paint, what the transposition pass rewrites, where find next
// chord goes, and what each leaves of the selection and the modified flag;
// and the control itself: positions, the engine's projection and formats.

#include <gtest/gtest.h>

#include <utility>

#include "engine/NoteTable.h"
#include "tests/support/ColorMask.h"
#include "view/MemoryTextControl.h"
#include "view/ViewCommands.h"

namespace sonavel {
namespace {

class ViewCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { BuildChordTable(); }
  void Load(const char* text, bool colorize = true) {
    control.SetText(text);
    if (colorize) commands.Colorize(false, false);
  }
  std::string Mask() const { return test::ColorMask(control, options); }

  DocumentOptions options;
  MemoryTextControl control;
  ViewCommands commands{control, options};
};

enum class Command { Colorize, ColorizeAllThenDecolorize };

struct ColorizeCase {
  const char* name;
  const char* text;
  Selection selection;
  Command command;
  bool chordInBrackets;
  const char* mask;  // c chord, t tab, . text
};

void PrintTo(const ColorizeCase& c, std::ostream* out) { *out << c.name; }

class Colorize : public ViewCommandsTest, public ::testing::WithParamInterface<ColorizeCase> {};

TEST_P(Colorize, PaintsChordsFretsAndText) {
  const ColorizeCase& c = GetParam();
  options.chordInBrackets = c.chordInBrackets;
  Load(c.text, c.command == Command::ColorizeAllThenDecolorize);
  control.SetSel(c.selection.start, c.selection.end);
  control.SetModified(true);
  commands.Colorize(c.command != Command::Colorize, c.command != Command::Colorize);
  EXPECT_EQ(Mask(), c.mask);
  EXPECT_EQ(control.GetSel(), (Selection{c.selection}));
  EXPECT_TRUE(control.IsModified()) << "colouring keeps the modified flag";
  EXPECT_EQ(std::pair(control.OpenEditSteps(), control.RedrawSuspensions()), std::pair(0, 0));
}

const ColorizeCase kColorizeCases[] = {
    {"ChordsOverLyricsAndFrets", "C   Am7/G\ne|-3-12-|\n", {}, Command::Colorize, false, "c...ccc.c....t.tt..."},
    {"DigitOfABracketedChordStaysChord", "(B7) -5-", {}, Command::Colorize, false, ".cc...t."},
    {"BracketOnThePreviousLine", "[\nG ]x G", {}, Command::Colorize, true, "........"},
    {"SelectionWidensToTheTokenBefore", "C D\nE F", {2, 3}, Command::Colorize, false, "c.c...."},
    {"DecolorizeTheTokenAtTheCaret", "C Am G", {3, 3}, Command::ColorizeAllThenDecolorize, false, "c....c"},
    {"DecolorizeTheSelection", "C Am G D", {2, 6}, Command::ColorizeAllThenDecolorize, false, "c......c"},
    {"EmptyText", "", {}, Command::Colorize, false, ""},
    {"ChordLettersAToH", "A B C D E F G H I @", {}, Command::Colorize, false, "c.c.c.c.c.c.c.c...."},
};

INSTANTIATE_TEST_SUITE_P(View, Colorize, ::testing::ValuesIn(kColorizeCases), ::testing::PrintToStringParamName());

TEST_F(ViewCommandsTest, SharedColourRolesFollowTheOrderOfTheTests) {
  options.tabcolor = options.chordcolor;  // frets then look like chords, and go as chords
  Load("C -3-");
  EXPECT_EQ(Mask(), "c..c.");
  EXPECT_EQ(commands.OnQuickTranspose().chords, 2);
}

// The pass, after an optional edit made once the text was coloured (the
// typed text takes the given colour, as new text in the editor takes the
// text colour).
struct PassCase {
  const char* name;
  const char* text;
  int steps;
  Selection edit;
  const char* typed;  // null: no edit
  ColorRef typedColor;
  Selection selection;  // for the pass
  const char* expected;
  long chords, tabs;
  Selection after;
};

void PrintTo(const PassCase& c, std::ostream* out) { *out << c.name; }

constexpr ColorRef kText = kDefaultTextColor;
constexpr ColorRef kChord = kDefaultChordColor;
constexpr ColorRef kTab = kDefaultTabColor;

class TransposePass : public ViewCommandsTest, public ::testing::WithParamInterface<PassCase> {};

TEST_P(TransposePass, RewritesWholeChordsAndFretsOnly) {
  const PassCase& c = GetParam();
  options.transpose.steps = c.steps;
  Load(c.text);
  if (c.typed != nullptr) {
    control.SetSel(c.edit.start, c.edit.end);
    control.TypeText(c.typed, c.typedColor);
  }
  control.SetSel(c.selection.start, c.selection.end);
  control.SetModified(false);
  const TransposeCounts counts = commands.OnQuickTranspose();
  EXPECT_EQ(control.Text(), c.expected);
  EXPECT_EQ(std::pair(counts.chords, counts.tabs), std::pair(c.chords, c.tabs));
  EXPECT_EQ(control.GetSel(), (Selection{c.after}));
  EXPECT_EQ(control.IsModified(), counts.AnyTransposed());
  if (c.typed == nullptr) {
    // What the pass wrote keeps the colour of what it replaced: colouring
    // the result again finds the same runs.
    const std::string mask = Mask();
    commands.Colorize(false, false);
    EXPECT_EQ(Mask(), mask);
  }
}

const PassCase kPassCases[] = {
    {"ChordsAndFretsOnly", "F Am7/G\nla la\n|-9-|\n", 2, {}, nullptr, 0, {}, "G Bm7/A\nla la\n|-11-|\n", 3, 1, {}},
    {"NeverColorized", "C G", 1, {0, 3}, "C G", kText, {1, 1}, "C G", 0, 0, {1, 1}},
    // The caret stays behind the same characters; a selection follows its text.
    {"CaretAfterAGrowingChord", "C G D", 1, {}, nullptr, 0, {1, 1}, "C# G# D#", 3, 0, {2, 2}},
    {"CaretBeforeEveryRun", "x C G", 1, {}, nullptr, 0, {1, 1}, "x C# G#", 2, 0, {1, 1}},
    {"SelectionLimitsThePass", "C\nG D\nE", 1, {}, nullptr, 0, {2, 5}, "C\nG# D#\nE", 2, 0, {2, 7}},
    {"ShrinkingFretsMoveTheEnd", "|-10-11-|", -2, {}, nullptr, 0, {0, 9}, "|-8-9-|", 0, 2, {0, 7}},
    {"SelectionNeverTurnsInsideOut", "Fbbbbbbbbb G", 0, {}, nullptr, 0, {5, 12}, "G# G", 2, 0, {4, 4}},
    // Edited after colouring: what is no longer a whole chord or fret stays.
    {"WordTypedBeforeTheChords", "Am C G", 1, {0, 0}, "Big ", kText, {}, "Big A#m C# G#", 3, 0, {}},
    {"WordsTypedAgainstAChord", "Am C G", 1, {6, 6}, "ged Hello", kText, {}, "A#m C# Gged Hello", 2, 0, {}},
    {"ChordTypedIntoAWord", "Am G", 1, {2, 2}, "y", kText, {}, "Amy G#", 1, 0, {}},
    {"LetterTypedBeforeAChord", "Am G", 1, {0, 0}, "x", kText, {}, "xAm G#", 1, 0, {}},
    {"CharacterTypedInsideAChord", "Am G", 1, {1, 1}, "#", kText, {}, "A#m G#", 1, 0, {}},
    {"SeparatorDeletedBetweenChords", "Am G", 1, {2, 3}, "", kText, {}, "AmG", 0, 0, {}},
    {"CharacterBeyondWindows1252", "Am G", 1, {2, 2}, "\xE4\xB8\xAD", kText, {}, "Am\xE4\xB8\xAD G#", 1, 0, {}},
    {"DigitTypedAfterAFret", "|-3-|", 1, {3, 3}, "1", kText, {}, "|-31-|", 0, 0, {}},
    {"FretLostItsMark", "|-3-|", 1, {1, 2}, "a", kText, {}, "|a3-|", 0, 0, {}},
    {"FretsJoinedIntoOneFret", "|-3-5-|", 1, {3, 4}, "", kText, {}, "|-12-|", 0, 1, {}},
    {"TabColouredLetter", "|-3-|", 1, {2, 3}, "x", kTab, {}, "|-x-|", 0, 0, {}},
    {"FretFirstInTheTextOnceItsMarkWentAway", "-3-5-", 1, {0, 1}, "", kText, {}, "3-6-", 0, 1, {}},
    {"ChordColouredWord", "C Am", 1, {0, 1}, "lyric", kChord, {}, "lyric A#m", 1, 0, {}},
};

INSTANTIATE_TEST_SUITE_P(View, TransposePass, ::testing::ValuesIn(kPassCases), ::testing::PrintToStringParamName());

TEST_F(ViewCommandsTest, FindNextChordWalksTheChordsAndWraps) {
  Load("x C/G la -3-\nAm x\n");
  control.SetSel(5, 5);  // a caret: the first chord of the text comes first
  for (const Selection expected : {Selection{2, 3}, {4, 5}, {13, 15}, {2, 3}}) {
    EXPECT_EQ(commands.OnFindNextChord(), ViewCommands::FindResult::Found);
    EXPECT_EQ(control.GetSel(), expected);
  }
  Load("la G la");
  control.SetSel(3, 4);
  commands.OnFindNextChord();
  EXPECT_EQ(control.GetSel(), (Selection{3, 4})) << "the only chord again";
  Load("C G Am", false);
  control.SetSel(1, 3);
  EXPECT_EQ(commands.OnFindNextChord(), ViewCommands::FindResult::NotFound);
  EXPECT_EQ(control.GetSel(), (Selection{1, 3}));
  EXPECT_EQ(control.RedrawSuspensions(), 0);
  Load("");
  EXPECT_EQ(commands.OnFindNextChord(), ViewCommands::FindResult::EmptyText);
}

TEST(MemoryTextControl, OnePositionPerCharacterAndLineBreak) {
  const struct {
    const char* input;
    const char* text;   // Text() afterwards
    const char* text8;  // the engine's projection
  } rows[] = {
      {"a\r\nb\rc\nd", "a\nb\nc\nd", "a\nb\nc\nd"},
      {"\xC3\xA5 \xE2\x82\xAC C\xC2\xA0G", "\xC3\xA5 \xE2\x82\xAC C\xC2\xA0G", "\xE5 \x80 C\xA0G"},
      {"A\xE4\xB8\xAD\xF0\x9F\x8E\xB8", "A\xE4\xB8\xAD\xF0\x9F\x8E\xB8", "A\x7F\x7F"},  // beyond Windows-1252
      {"\xC2\x81\xC2\x9D", "\xC2\x81\xC2\x9D", "\x81\x9D"},  // the bytes Windows-1252 leaves undefined
  };
  for (const auto& row : rows) {
    MemoryTextControl control;
    control.SetText(row.input);
    EXPECT_EQ(control.Text(), row.text);
    EXPECT_EQ(control.Text8(), row.text8);
    EXPECT_EQ(control.Length(), static_cast<long>(std::string(row.text8).size()));
  }
}

TEST(MemoryTextControl, HundredsOfColoursOverTimeAreKeptApart) {
  MemoryTextControl control;
  control.SetText("ab");
  for (ColorRef c = 1; c <= 600; ++c) control.SetColor(0, 1, c);
  control.SetColor(1, 2, 7);
  EXPECT_EQ(control.ColorAt(0), 600u);
  EXPECT_EQ(control.ColorAt(1), 7u);
}

}  // namespace
}  // namespace sonavel
