// Colorize and Decolorize: which characters end up in which colour.

#include <gtest/gtest.h>

#include "engine/NoteTable.h"
#include "tests/view/TestSupport.h"
#include "view/ViewCommands.h"

namespace sonavel {
namespace {

enum class Command { Colorize, ColorizeAllThenDecolorize };

struct ColorizeCase {
  const char* name;
  const char* text;
  Selection selection;
  Command command;
  bool chordInBrackets;
  const char* expectedMask;
};

class ColorizeCases : public ::testing::TestWithParam<ColorizeCase> {};

TEST_P(ColorizeCases, PaintsExpectedCharacters) {
  BuildChordTable();
  const ColorizeCase& c = GetParam();
  DocumentOptions options;
  options.chordInBrackets = c.chordInBrackets;
  MemoryTextControl control;
  control.SetText(c.text);
  ViewCommands commands(control, options);
  if (c.command == Command::ColorizeAllThenDecolorize) commands.Colorize(false, false);
  control.SetSel(c.selection.start, c.selection.end);
  if (c.command == Command::Colorize) commands.Colorize(false, false);
  else commands.Colorize(true, true);
  EXPECT_EQ(test::ColorMask(control, options), c.expectedMask);
}

const ColorizeCase kColorizeCases[] = {
    {"ChordsOverLyricsAndFrets", "C   Am7/G\ne|-3-12-|\n", {}, Command::Colorize, false,
     "c...ccc.c....t.tt..."},
    {"LowerCaseAndCapitalMAreNoChords", "am CM7 Cm7b5 C+ Dad Be", {}, Command::Colorize, false,
     "......................"},
    {"NoChordIsCutIntoNAndC", "N.C. A H", {}, Command::Colorize, false, "..c..c.c"},
    {"SuffixWordsAndStar", "Cmaj7 Asus4 E7* C*7", {}, Command::Colorize, false, "ccccc.ccccc.ccc...."},
    {"DigitOfBracketedChordStaysChord", "(B7) -5-", {}, Command::Colorize, false, ".cc...t."},
    {"ThreeDigitRunIsNoFret", "|-123-|-12-|", {}, Command::Colorize, false, "........tt.."},
    {"FretNeedsTabCharactersOnBothSides", "a3- - 3 - b3b", {}, Command::Colorize, false, "...........t."},
    {"HyphenIsATokenNotAChord", "A - B", {}, Command::Colorize, false, "c...c"},
    {"NoBreakSpaceSeparates", "C\xC2\xA0G", {}, Command::Colorize, false, "c.c"},
    {"BracketsOnlyColoursBracketedChords", "[Am]Hello C world", {}, Command::Colorize, true,
     ".cc.............."},
    {"BracketsOffColoursEveryChord", "[Am]Hello C world", {}, Command::Colorize, false,
     ".cc.......c......"},
    {"BracketOnPreviousLineDoesNotCount", "[\nG ]x G", {}, Command::Colorize, true, "........"},
    // A selection starting on a token also takes in the token before it.
    {"SelectionWidensToTokenBefore", "C D\nE F", {2, 3}, Command::Colorize, false, "c.c...."},
    {"SelectionInsideOneLine", "C D\nE F G\nA", {6, 7}, Command::Colorize, false, "....c.c...."},
    {"DecolorizeTokenAtCaret", "C Am G", {3, 3}, Command::ColorizeAllThenDecolorize, false, "c....c"},
    {"DecolorizeSelection", "C Am G D", {2, 6}, Command::ColorizeAllThenDecolorize, false, "c......c"},
    {"EmptyText", "", {}, Command::Colorize, false, ""},
};

INSTANTIATE_TEST_SUITE_P(Colorize, ColorizeCases, ::testing::ValuesIn(kColorizeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Colorize, KeepsSelectionScrollAndModifiedFlag) {
  DocumentOptions options;
  MemoryTextControl control;
  control.SetText("C\nG\nAm\nF\n");
  control.SetSel(2, 5);
  control.TypeText("D ");  // an edit that marks the document modified
  control.SetModified(false);
  control.SetSel(1, 4);
  control.SetFirstVisibleLine(2);
  ViewCommands commands(control, options);
  commands.Colorize(false, false);
  EXPECT_EQ(control.GetSel(), (Selection{1, 4}));
  EXPECT_EQ(control.FirstVisibleLine(), 2);
  EXPECT_FALSE(control.IsModified());
  EXPECT_EQ(control.OpenEditSteps(), 0);
  EXPECT_EQ(control.RedrawSuspensions(), 0);
  EXPECT_FALSE(commands.IsBusy());
}

TEST(Colorize, EditedChordLosesItsColourAtNextColorize) {
  DocumentOptions options;
  MemoryTextControl control;
  control.SetText("Am G");
  ViewCommands commands(control, options);
  commands.Colorize(false, false);
  control.SetSel(2, 2);
  control.TypeText("y");  // "Amy", the y in the text colour
  ASSERT_EQ(test::ColorMask(control, options), "cc..c");
  control.SetSel(0, 0);
  commands.Colorize(false, false);
  EXPECT_EQ(test::ColorMask(control, options), "....c");
}

TEST(Colorize, AutoColorColoursWhileTyping) {
  for (const bool autoColor : {true, false}) {
    DocumentOptions options;
    MemoryTextControl control;
    ViewCommands commands(control, options);
    control.SetChangeHandler([&] { commands.OnTextChanged(autoColor); });
    control.SetText("x ");
    control.SetSel(2, 2);
    control.TypeText("A");
    control.TypeText("m");
    EXPECT_EQ(test::ColorMask(control, options), autoColor ? "..cc" : "....") << "autoColor " << autoColor;
    EXPECT_EQ(control.GetSel(), (Selection{4, 4}));
  }
}

TEST(Colorize, SharedColourRolesFollowTheOrderOfTheTests) {
  // With the tab colour equal to the chord colour, frets look like chords.
  DocumentOptions options;
  options.tabcolor = options.chordcolor;
  MemoryTextControl control;
  control.SetText("C -3-");
  ViewCommands commands(control, options);
  commands.Colorize(false, false);
  EXPECT_EQ(test::ColorMask(control, options), "c..c.");
}

}  // namespace
}  // namespace sonavel
