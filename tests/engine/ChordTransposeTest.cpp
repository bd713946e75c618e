#include "engine/ChordTranspose.h"

#include "engine/NoteTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

namespace sonavel {
namespace {

struct ChordCase {
  std::string text;
  long steps;
  int key;
  bool bIsBess;
  std::string expected;
  long delta;
};

class TransposeChordTest : public testing::TestWithParam<ChordCase> {};

TEST_P(TransposeChordTest, RewritesTheRootInTheTargetKey) {
  const ChordCase& c = GetParam();
  const Transposed result = TransposeChord(c.text, c.steps, c.key, c.bIsBess);
  EXPECT_EQ(result.newText, c.expected);
  EXPECT_EQ(result.delta, c.delta);
}

INSTANTIATE_TEST_SUITE_P(
    Chords, TransposeChordTest,
    testing::Values(
        ChordCase{"C", 2, 0, false, "D", 0}, ChordCase{"Am7", 2, 0, false, "Bm7", 0},
        ChordCase{"F#m", 2, 0, false, "G#m", 0}, ChordCase{"Bb", 2, 0, false, "C", -1},
        ChordCase{"H7", 2, 0, false, "C#7", 1}, ChordCase{"Ebmaj7", 2, 0, false, "Fmaj7", -1},
        // F major writes flats.
        ChordCase{"C", 1, 3, false, "Db", 1}, ChordCase{"E", 1, 3, false, "F", 0},
        ChordCase{"A", 1, 3, false, "Bb", 1}, ChordCase{"Bbsus4", 1, 3, false, "Bsus4", -1},
        ChordCase{"Am7", 1, 3, false, "Bbm7", 1},
        // Zero steps renames into the key's spelling.
        ChordCase{"C", 0, 17, false, "Dbb", 2}, ChordCase{"Db", 0, 0, false, "C#", 0},
        ChordCase{"Gb", 0, 0, false, "F#", 0}, ChordCase{"Cb", 0, 0, false, "B", -1},
        ChordCase{"E#", 0, 10, false, "F", -1},  // F# major spells its seventh F ...
        ChordCase{"F", 0, 7, false, "E#", 1},    // ... C# major spells it E#
        // A whole octave either way changes nothing.
        ChordCase{"C", -12, 0, false, "C", 0}, ChordCase{"C", 12, 0, false, "C", 0},
        ChordCase{"Am", -12, 0, false, "Am", 0}, ChordCase{"Am", 12, 0, false, "Am", 0},
        ChordCase{"Bb", -12, 20, false, "Bb", 0}, ChordCase{"C", -13, 0, false, "B", 0},
        // B as B flat: H reads as B natural, which the table writes as B.
        ChordCase{"B", 0, 0, true, "A#", 1}, ChordCase{"Bb", 0, 0, true, "A", -1},
        ChordCase{"H", 0, 0, true, "B", 0}, ChordCase{"H7", 0, 3, true, "B7", 0},
        ChordCase{"B", 0, 3, true, "Bb", 1}, ChordCase{"B", 0, 0, false, "B", 0},
        ChordCase{"Bb", 0, 0, false, "A#", 0},
        // Steps far outside the dialog's range are reduced exactly: LONG_MAX = 7, LONG_MIN = 4 (mod 12).
        ChordCase{"C", LONG_MAX, 0, false, "G", 0}, ChordCase{"C", LONG_MIN, 0, false, "E", 0},
        ChordCase{"Bm7", LONG_MIN + 1, 0, false, "Em7", 0}));

class UnchangedRunTest : public testing::TestWithParam<std::string> {};

TEST_P(UnchangedRunTest, RunWithoutLeadingNoteLetterComesBackAsItIs) {
  for (long steps : {-5L, 0L, 7L}) {
    const Transposed result = TransposeChord(GetParam(), steps, 4, false);
    EXPECT_EQ(result.newText, GetParam());
    EXPECT_EQ(result.delta, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Runs, UnchangedRunTest, testing::Values("7", "x", "", "am", "N.C.", "#C", "\xC4"));

TEST(TransposeChord, KeyOutsideTheTableLeavesTheRunAlone) {
  for (int key : {-1, kKeyCount, 1000}) {
    const Transposed result = TransposeChord("Am7", 3, key, false);
    EXPECT_EQ(result.newText, "Am7");
    EXPECT_EQ(result.delta, 0);
    EXPECT_EQ(ChordRootLength("Am7", key, false), 0);
  }
}

// Roots spelled every way the text may hold them, with the option under
// which each is read.
struct Root {
  std::string name;
  bool bIsBess;
};

std::vector<Root> AllRootSpellings() {
  std::vector<Root> roots;
  for (std::string_view name : chordTable()[0]) {
    roots.push_back({std::string(name), false});
    if (name[0] == 'B') roots.push_back({std::string(name), true});
  }
  for (const char* name : {"H", "Hb", "Bb", "Cb", "Fx", "Ebb"}) {
    roots.push_back({name, false});
    roots.push_back({name, true});
  }
  return roots;
}

class PerKeyTest : public testing::TestWithParam<int> {};

TEST_P(PerKeyTest, TransposingBackRestoresEveryPitchAndNeverWritesH) {
  const int key = GetParam();
  const std::vector<long> stepValues = {1, 2, 5, 6, 7, 11, 12, 13, 23, 25, 1000000007L, LONG_MAX};
  for (const Root& root : AllRootSpellings()) {
    const int pitch = ParseNote(root.name, root.bIsBess).pitch;
    for (long up : stepValues) {
      for (long steps : {up, -up}) {
        SCOPED_TRACE(root.name + (root.bIsBess ? " (B as Bb)" : "") + " by " + std::to_string(steps));
        const Transposed there = TransposeChord(root.name, steps, key, root.bIsBess);
        EXPECT_EQ(there.newText.find('H'), std::string::npos);
        const long expected = ((pitch + steps % 12) % 12 + 12) % 12;
        EXPECT_EQ(ParseNote(there.newText, false).pitch, expected);
        // What the engine writes is table spelling: B is B natural again.
        const Transposed back = TransposeChord(there.newText, -steps, key, false);
        EXPECT_EQ(ParseNote(back.newText, false).pitch, pitch);
      }
    }
  }
}

TEST_P(PerKeyTest, KeepsTheSuffixCharacterForCharacter) {
  const int key = GetParam();
  const std::vector<std::string> suffixes = {"", "m", "7", "maj7", "m7b5", "sus4", "*", "add9*", "/G", "mH",
                                             "\xA0(x)", "m\r\n"};
  for (const Root& root : AllRootSpellings()) {
    for (const std::string& suffix : suffixes) {
      for (long steps : {-7L, 0L, 1L, 4L, 12L}) {
        const std::string text = root.name + suffix;
        SCOPED_TRACE(text + " by " + std::to_string(steps));
        const Transposed result = TransposeChord(text, steps, key, root.bIsBess);
        ASSERT_GE(result.newText.size(), suffix.size());
        const std::size_t rootLength = result.newText.size() - suffix.size();
        EXPECT_EQ(result.newText.substr(rootLength), suffix);
        const std::string_view newRoot = std::string_view(result.newText).substr(0, rootLength);
        const auto& row = chordTable()[key];
        EXPECT_NE(std::find(row.begin(), row.end(), newRoot), row.end()) << newRoot << " is not a name of the key";
        EXPECT_EQ(result.delta, static_cast<long>(result.newText.size()) - static_cast<long>(text.size()));
        EXPECT_EQ(ChordRootLength(text, key, root.bIsBess), static_cast<long>(root.name.size()));
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllKeys, PerKeyTest, testing::Range(0, kKeyCount));

}  // namespace
}  // namespace sonavel
