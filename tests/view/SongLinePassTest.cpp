// Line by line, and each line in segments, a song comes out exactly as F5
// and Shift+F7 leave it in a control: every colour, every byte and both
// counts, for every real song and for the texts where a scan could look past
// a line end or a cut.

#include <gtest/gtest.h>

#include "engine/NoteTable.h"
#include "tests/support/Songs.h"
#include "tests/support/TwoPipelines.h"

namespace sonavel {
namespace {

struct OptionSet {
  const char* name;
  DocumentOptions options;
};

std::vector<OptionSet> OptionSets() {
  std::vector<OptionSet> sets;
  const auto add = [&sets](const char* name, auto change) {
    DocumentOptions options;
    options.transpose.steps = 3;
    change(options);
    sets.push_back({name, options});
  };
  add("Defaults", [](DocumentOptions&) {});
  add("BracketsDownAFifthInBb", [](DocumentOptions& o) {
    o.chordInBrackets = true;
    o.transpose = {-7, 20, true, true, true, 0, 12};
  });
  add("ChordsInTheTextColour", [](DocumentOptions& o) { o.chordcolor = o.textcolor; });
  add("TabsInTheChordColour", [](DocumentOptions& o) { o.tabcolor = o.chordcolor; });
  add("TabsOnlyInAHighWindow", [](DocumentOptions& o) { o.transpose = {11, 3, false, false, true, 12, 24}; });
  return sets;
}

void ExpectSame(std::string_view text, const DocumentOptions& options, const std::string& what) {
  const test::PipelineResult control = test::ThroughControl(text, options);
  for (const bool inSegments : {false, true}) {
    const test::PipelineResult lines = test::LineByLine(text, options, inSegments);
    const std::string how = what + (inSegments ? " (in segments)" : "");
    EXPECT_EQ(lines.text, control.text) << how;
    EXPECT_EQ(lines.colors, control.colors) << how;
    EXPECT_EQ(lines.chords, control.chords) << how;
    EXPECT_EQ(lines.tabs, control.tabs) << how;
  }
}

TEST(SongLinePass, GivesWhatTheControlGivesOnEdgeTexts) {
  BuildChordTable();
  const char* const texts[] = {
      "",
      "\n",
      "C",
      "e|-3-|\n",
      "e|-3-",        // a fret at the very end of the text is not one
      "e|-3-\r\n-5-", // nor at the end of the last line
      "e|-12\n-\n",   // a fret needs its tablature character on the same line
      "[C\nG] [D E]\nF",
      "[Am\tB7 C] D [E\t\t|-3-| F#",  // a bracket open across cuts, and closed
      "e|-3-\t-5- |-7 - 9-| ",
      "Am  \xc3\xa9t\xc3\xa9  F#m7\r\n\xe2\x82\xac-3-| \xf0\x9f\x8e\xb8 C/G\n",
      "(B7) -7- |5h7| H7sus4 Bb/D x\r\r\nEbmaj7*",
      "la la\tC\x01" "D\n\n\n",
      "C\xc2\xa0" "Am \xc2\xa0-3-|",  // read through its projection, from the first character
  };
  for (const OptionSet& set : OptionSets()) {
    for (const char* text : texts) ExpectSame(text, set.options, std::string(set.name) + ": " + text);
  }
}

SONGS_PRESENT_TEST()

class EverySong : public ::testing::TestWithParam<test::Song> {};
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(EverySong);

TEST_P(EverySong, ComesOutAsTheControlLeavesIt) {
  BuildChordTable();
  for (const OptionSet& set : OptionSets()) ExpectSame(GetParam().text, set.options, set.name);
}

INSTANTIATE_TEST_SUITE_P(Songs, EverySong, ::testing::ValuesIn(test::Songs()), test::SongTestName);

}  // namespace
}  // namespace sonavel
