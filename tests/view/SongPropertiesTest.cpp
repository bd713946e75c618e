// Properties of the whole road over real song files.

#include <gtest/gtest.h>

#include "engine/NoteTable.h"
#include "tests/view/TestSupport.h"
#include "view/ViewCommands.h"

namespace sonavel {
namespace {

// The characters outside chord and tab runs, each run standing as one marker.
std::string Uncoloured(const MemoryTextControl& control, const DocumentOptions& options) {
  const std::string mask = test::ColorMask(control, options);
  const std::string text = control.Text8();
  std::string out;
  for (std::size_t i = 0; i < mask.size(); ++i) {
    if (mask[i] == '.') out += text[i];
    else if (i == 0 || mask[i - 1] == '.') out += '\x01';
  }
  return out;
}

struct Transposition {
  int steps;
  int key;
};

TEST(SongProperties, SongsAreThere) { ASSERT_GE(test::Songs().size(), 20u); }

TEST(SongProperties, TransposingChangesNothingButColouredRuns) {
  BuildChordTable();
  for (const auto& song : test::Songs()) {
    for (const Transposition t : {Transposition{1, 0}, {-5, 3}, {7, 20}, {11, 17}}) {
      DocumentOptions options;
      options.transpose.steps = t.steps;
      options.transpose.key = t.key;
      MemoryTextControl control;
      control.SetText(song.text);
      ViewCommands commands(control, options);
      commands.Colorize(false, false);
      const std::string before = Uncoloured(control, options);
      const std::string maskBefore = test::ColorMask(control, options);
      const TransposeCounts counts = commands.OnQuickTranspose();
      EXPECT_EQ(Uncoloured(control, options), before) << song.name << " steps " << t.steps;
      EXPECT_EQ(counts.AnyTransposed(), maskBefore.find_first_not_of('.') != std::string::npos) << song.name;
    }
  }
}

TEST(SongProperties, ChordsGoBackAfterTheOppositeSteps) {
  BuildChordTable();
  for (const auto& song : test::Songs()) {
    for (int steps = -11; steps <= 11; steps += 4) {
      DocumentOptions options;
      options.transpose.transposeTabs = false;
      options.transpose.steps = 0;
      MemoryTextControl respelled;
      respelled.SetText(song.text);
      ViewCommands respell(respelled, options);
      respell.Colorize(false, false);
      respell.OnQuickTranspose();

      MemoryTextControl control;
      control.SetText(song.text);
      ViewCommands commands(control, options);
      commands.Colorize(false, false);
      options.transpose.steps = steps;
      commands.OnQuickTranspose();
      options.transpose.steps = -steps;
      commands.OnQuickTranspose();
      EXPECT_EQ(control.Text(), respelled.Text()) << song.name << " steps " << steps;
    }
  }
}

TEST(SongProperties, ColorizingTwiceChangesNothing) {
  for (const auto& song : test::Songs()) {
    DocumentOptions options;
    MemoryTextControl control;
    control.SetText(song.text);
    ViewCommands commands(control, options);
    commands.Colorize(false, false);
    const std::string mask = test::ColorMask(control, options);
    commands.Colorize(false, false);
    EXPECT_EQ(test::ColorMask(control, options), mask) << song.name;
  }
}

}  // namespace
}  // namespace sonavel
