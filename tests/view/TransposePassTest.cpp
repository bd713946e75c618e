// The transposition pass over coloured text.

#include <gtest/gtest.h>

#include "engine/NoteTable.h"
#include "tests/view/TestSupport.h"
#include "view/ViewCommands.h"

namespace sonavel {
namespace {

struct PassCase {
  const char* name;
  const char* text;
  TransposeOptions options;
  const char* expected;
  long chords;
  long tabs;
};

TransposeOptions Opt(int steps, int key = 0, bool bIsBess = false, bool chords = true, bool tabs = true,
                     int tabMin = 0, int tabMax = 15) {
  return {steps, key, bIsBess, chords, tabs, tabMin, tabMax};
}

class TransposePassCases : public ::testing::TestWithParam<PassCase> {};

TEST_P(TransposePassCases, RewritesColouredRuns) {
  BuildChordTable();
  const PassCase& c = GetParam();
  DocumentOptions options;
  options.transpose = c.options;
  MemoryTextControl control;
  control.SetText(c.text);
  ViewCommands commands(control, options);
  commands.Colorize(false, false);
  const TransposeCounts counts = commands.OnQuickTranspose();
  EXPECT_EQ(control.Text(), c.expected);
  EXPECT_EQ(counts.chords, c.chords);
  EXPECT_EQ(counts.tabs, c.tabs);
}

const PassCase kPassCases[] = {
    {"UpTwoInC", "C Am7 F#m Bb H7 Ebmaj7", Opt(2), "D Bm7 G#m C C#7 Fmaj7", 6, 0},
    {"SlashChordIsTwoChords", "Am7/G", Opt(1), "A#m7/G#", 2, 0},
    {"WrittenWithTheKeysNames", "Am7 C E", Opt(1, 3), "Bbm7 Db F", 3, 0},
    {"ZeroStepsRespellsIntoKey", "Db Gb Cb", Opt(0), "C# F# B", 3, 0},
    {"BAsBFlat", "B Bb H", Opt(0, 0, true), "A# A B", 3, 0},
    {"TwelveStepsChangeNothing", "C Am", Opt(-12), "C Am", 2, 0},
    {"FretsFoldIntoWindow", "e|-14-0-9-10-|", Opt(3), "e|-5-3-12-13-|", 0, 4},
    {"FretsFoldDown", "e|-0-|", Opt(-1), "e|-11-|", 0, 1},
    {"NarrowWindowDoesNotFold", "e|-7-0-|", Opt(2, 0, false, true, true, 0, 5), "e|-9-2-|", 0, 2},
    {"ChordsOffLeavesChords", "C -3- G", Opt(1, 0, false, false, true), "C -4- G", 0, 1},
    {"TabsOffLeavesFrets", "C -3- G", Opt(1, 0, false, true, false), "C# -3- G#", 2, 0},
    {"BothOffCountsNothing", "C -3- G", Opt(1, 0, false, false, false), "C -3- G", 0, 0},
    {"LyricsAndLineEndsUntouched", "F  G\nla la la\n|-9-|\n", Opt(2), "G  A\nla la la\n|-11-|\n", 2, 1},
    {"CharactersAfterRootKept", "Csus4 Cmaj7*", Opt(1), "C#sus4 C#maj7*", 2, 0},
};

INSTANTIATE_TEST_SUITE_P(Transpose, TransposePassCases, ::testing::ValuesIn(kPassCases),
                         [](const auto& info) { return std::string(info.param.name); });

class TransposePass : public ::testing::Test {
 protected:
  void SetUp() override { BuildChordTable(); }
  void Load(const char* text) {
    control.SetText(text);
    commands.Colorize(false, false);
  }
  DocumentOptions options;
  MemoryTextControl control;
  ViewCommands commands{control, options};
};

TEST_F(TransposePass, NeverColorizedDocumentTransposesNothing) {
  control.SetText("C G Am\n-3-");
  control.SetSel(2, 2);
  const TransposeCounts counts = commands.OnQuickTranspose();
  EXPECT_FALSE(counts.AnyTransposed());
  EXPECT_EQ(control.Text(), "C G Am\n-3-");
  EXPECT_FALSE(control.IsModified());
  EXPECT_EQ(control.GetSel(), (Selection{2, 2}));
}

TEST_F(TransposePass, MarksModifiedAndClosesItsEditStep) {
  Load("C G");
  control.SetModified(false);
  commands.OnQuickTranspose();
  EXPECT_TRUE(control.IsModified());
  EXPECT_EQ(control.OpenEditSteps(), 0);
}

TEST_F(TransposePass, CaretStaysBehindTheSameCharacters) {
  Load("C G D");
  control.SetSel(1, 1);  // just after C, which grows to C#
  commands.OnQuickTranspose();
  EXPECT_EQ(control.Text(), "C# G# D#");
  EXPECT_EQ(control.GetSel(), (Selection{2, 2}));
}

TEST_F(TransposePass, CaretBeforeEveryRunDoesNotMove) {
  Load("x C G");
  control.SetSel(1, 1);
  commands.OnQuickTranspose();
  EXPECT_EQ(control.GetSel(), (Selection{1, 1}));
}

TEST_F(TransposePass, SelectionLimitsThePassAndFollowsTheText) {
  Load("C\nG D\nE");
  control.SetSel(2, 5);  // "G D"
  const TransposeCounts counts = commands.OnQuickTranspose();
  EXPECT_EQ(control.Text(), "C\nG# D#\nE");
  EXPECT_EQ(counts.chords, 2);
  EXPECT_EQ(control.GetSel(), (Selection{2, 7}));
}

TEST_F(TransposePass, ShrinkingFretsMoveTheSelectionEnd) {
  Load("|-10-11-|");
  control.SetSel(0, 9);
  options.transpose.steps = -2;
  commands.OnQuickTranspose();
  EXPECT_EQ(control.Text(), "|-8-9-|");
  EXPECT_EQ(control.GetSel(), (Selection{0, 7}));
}

TEST_F(TransposePass, SelectionNeverTurnsInsideOut) {
  // The long chord starts before the selection and shrinks by eight.
  Load("Fbbbbbbbbb G");
  control.SetSel(5, 12);
  options.transpose.steps = 0;
  commands.OnQuickTranspose();
  EXPECT_EQ(control.Text(), "G# G");
  EXPECT_EQ(control.GetSel(), (Selection{4, 4}));
}

TEST_F(TransposePass, ReplacedTextKeepsItsColour) {
  Load("C -9-");
  commands.OnQuickTranspose();
  ASSERT_EQ(control.Text(), "C# -10-");
  EXPECT_EQ(test::ColorMask(control, options), "cc..tt.");
}

// Text edited after it was coloured: a run that is no longer a whole chord
// or fret is left as it is and not counted; everything else transposes as
// before.
struct EditedCase {
  const char* name;
  const char* text;
  Selection edit;      // replaced by `typed`, which takes the text colour
  const char* typed;
  ColorRef typedColor;
  const char* expected;
  long chords;
  long tabs;
};

class EditedAfterColouring : public ::testing::TestWithParam<EditedCase> {};

TEST_P(EditedAfterColouring, TransposesOnlyWhatIsStillAChordOrFret) {
  BuildChordTable();
  const EditedCase& c = GetParam();
  DocumentOptions options;
  MemoryTextControl control;
  control.SetText(c.text);
  ViewCommands commands(control, options);
  commands.Colorize(false, false);
  control.SetSel(c.edit.start, c.edit.end);
  control.TypeText(c.typed, c.typedColor);
  control.SetSel(0, 0);
  const TransposeCounts counts = commands.OnQuickTranspose();
  EXPECT_EQ(control.Text(), c.expected);
  EXPECT_EQ(counts.chords, c.chords);
  EXPECT_EQ(counts.tabs, c.tabs);
}

constexpr ColorRef kText = kDefaultTextColor;
constexpr ColorRef kChord = kDefaultChordColor;
constexpr ColorRef kTab = kDefaultTabColor;

const EditedCase kEditedCases[] = {
    {"WordTypedBeforeChordLine", "Am C G", {0, 0}, "Big ", kText, "Big A#m C# G#", 3, 0},
    {"WordTypedAgainstLastChord", "Am C G", {6, 6}, "ged Hello", kText, "A#m C# Gged Hello", 2, 0},
    {"ChordEditedIntoAWord", "Am G", {2, 2}, "y", kText, "Amy G#", 1, 0},
    {"CharacterTypedInsideAChord", "Am G", {1, 1}, "#", kText, "A#m G#", 1, 0},
    {"SeparatorDeletedBetweenChords", "Am G", {2, 3}, "", kText, "AmG", 0, 0},
    {"CharacterOutsideWindows1252InChord", "Am G", {2, 2}, "\xE4\xB8\xAD", kText, "Am\xE4\xB8\xAD G#", 1, 0},
    {"DigitTypedAfterFret", "|-3-|", {3, 3}, "1", kText, "|-31-|", 0, 0},
    {"FretLostItsTabCharacter", "|-3-|", {1, 2}, "a", kText, "|a3-|", 0, 0},
    {"FretsJoinedIntoOneFret", "|-3-5-|", {3, 4}, "", kText, "|-12-|", 0, 1},
    {"TabColouredLetter", "|-3-|", {2, 3}, "x", kTab, "|-x-|", 0, 0},
    {"ChordColouredWord", "C Am", {0, 1}, "lyric", kChord, "lyric A#m", 1, 0},
};

INSTANTIATE_TEST_SUITE_P(Transpose, EditedAfterColouring, ::testing::ValuesIn(kEditedCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TransposePass, UpThenDownRestoresTheNamesOfTheKey) {
  Load("C Eb F#m7 Bb/D");
  options.transpose.steps = 5;
  commands.OnQuickTranspose();
  options.transpose.steps = -5;
  commands.OnQuickTranspose();
  EXPECT_EQ(control.Text(), "C D# F#m7 A#/D");
}

}  // namespace
}  // namespace sonavel
