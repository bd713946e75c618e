// Properties of colouring and transposing that hold for every real song.

#include <gtest/gtest.h>

#include "engine/NoteTable.h"
#include "tests/support/ColorMask.h"
#include "tests/support/Songs.h"
#include "view/MemoryTextControl.h"
#include "view/ViewCommands.h"

namespace sonavel {
namespace {

SONGS_PRESENT_TEST()

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

class SongProperties : public ::testing::TestWithParam<test::Song> {};
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(SongProperties);

TEST_P(SongProperties, TransposingTouchesOnlyTheRunsAndOppositeStepsGoBack) {
  BuildChordTable();
  for (const int steps : {1, -5, 7, 11}) {
    DocumentOptions options;
    options.transpose.transposeTabs = false;
    MemoryTextControl control;
    ViewCommands commands(control, options);
    control.SetText(GetParam().text);
    commands.Colorize(false, false);
    const std::string mask = test::ColorMask(control, options);
    commands.Colorize(false, false);
    ASSERT_EQ(test::ColorMask(control, options), mask) << "colouring again changes nothing";

    options.transpose.steps = 0;  // respelled into the key: what going there and back gives
    commands.OnQuickTranspose();
    const std::string respelled = control.Text();
    const std::string uncoloured = Uncoloured(control, options);
    options.transpose.steps = steps;
    const TransposeCounts counts = commands.OnQuickTranspose();
    EXPECT_EQ(Uncoloured(control, options), uncoloured) << "by " << steps;
    EXPECT_EQ(counts.chords > 0, mask.find('c') != std::string::npos);
    options.transpose.steps = -steps;
    commands.OnQuickTranspose();
    EXPECT_EQ(control.Text(), respelled) << "by " << steps << " and back";
  }
}

INSTANTIATE_TEST_SUITE_P(Songs, SongProperties, ::testing::ValuesIn(test::Songs()), [](const auto& info) {
  std::string name = info.param.name;
  for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
});

}  // namespace
}  // namespace sonavel
