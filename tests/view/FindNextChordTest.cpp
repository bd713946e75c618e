// Find next chord walks the chord-coloured runs and wraps.

#include <gtest/gtest.h>

#include "engine/NoteTable.h"
#include "view/MemoryTextControl.h"
#include "view/ViewCommands.h"

namespace sonavel {
namespace {

using FindResult = ViewCommands::FindResult;

class FindNextChord : public ::testing::Test {
 protected:
  void Load(const char* text, bool colorize = true) {
    control.SetText(text);
    if (colorize) commands.Colorize(false, false);
  }
  DocumentOptions options;
  MemoryTextControl control;
  ViewCommands commands{control, options};
};

TEST_F(FindNextChord, WalksEveryChordInOrderAndWraps) {
  Load("x C/G la\nAm x\n");
  control.SetSel(5, 5);  // a caret selects the first chord of the text
  const Selection expected[] = {{2, 3}, {4, 5}, {9, 11}, {2, 3}};
  for (const Selection& sel : expected) {
    EXPECT_EQ(commands.OnFindNextChord(), FindResult::Found);
    EXPECT_EQ(control.GetSel(), sel);
  }
}

TEST_F(FindNextChord, SingleSelectedChordIsSelectedAgain) {
  Load("la G la");
  control.SetSel(3, 4);
  EXPECT_EQ(commands.OnFindNextChord(), FindResult::Found);
  EXPECT_EQ(control.GetSel(), (Selection{3, 4}));
}

TEST_F(FindNextChord, NothingColouredLeavesTheSelection) {
  Load("C G Am", false);
  control.SetSel(1, 3);
  EXPECT_EQ(commands.OnFindNextChord(), FindResult::NotFound);
  EXPECT_EQ(control.GetSel(), (Selection{1, 3}));
  EXPECT_EQ(control.RedrawSuspensions(), 0);
}

TEST_F(FindNextChord, EmptyTextDoesNothing) {
  Load("");
  EXPECT_EQ(commands.OnFindNextChord(), FindResult::EmptyText);
}

TEST_F(FindNextChord, FretsAreNotChords) {
  Load("-3- G -5-");
  control.SetSel(0, 0);
  EXPECT_EQ(commands.OnFindNextChord(), FindResult::Found);
  EXPECT_EQ(control.GetSel(), (Selection{4, 5}));
}

}  // namespace
}  // namespace sonavel
