// Rewriting the root of a chord.

#include "engine/ChordTranspose.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#include "engine/NoteTable.h"

namespace sonavel {
namespace {

struct ChordCase {
  const char* text;
  long steps;
  int key;
  bool bIsBess;
  const char* expected;
};

void PrintTo(const ChordCase& c, std::ostream* out) {
  *out << c.text << " by " << c.steps << " in key " << c.key << (c.bIsBess ? " (B as Bb)" : "");
}

class TransposeChordTest : public testing::TestWithParam<ChordCase> {};

TEST_P(TransposeChordTest, RewritesTheRootInTheTargetKey) {
  const ChordCase& c = GetParam();
  BuildChordTable();
  const Transposed result = TransposeChord(c.text, c.steps, c.key, c.bIsBess);
  EXPECT_EQ(result.newText, c.expected);
  EXPECT_EQ(result.delta, static_cast<long>(result.newText.size()) - static_cast<long>(std::string(c.text).size()));
}

INSTANTIATE_TEST_SUITE_P(
    Chords, TransposeChordTest,
    testing::Values(ChordCase{"C", 2, 0, false, "D"}, ChordCase{"Am7", 2, 0, false, "Bm7"},
                    ChordCase{"Bb", 2, 0, false, "C"}, ChordCase{"H7", 2, 0, false, "C#7"},
                    ChordCase{"Ebmaj7", 2, 0, false, "Fmaj7"},
                    // F major writes flats.
                    ChordCase{"C", 1, 3, false, "Db"}, ChordCase{"Bbsus4", 1, 3, false, "Bsus4"},
                    // Zero steps renames into the key's spelling, as its row writes it.
                    ChordCase{"C", 0, 17, false, "Dbb"}, ChordCase{"Db", 0, 0, false, "C#"},
                    ChordCase{"Cb", 0, 0, false, "B"}, ChordCase{"E#", 0, 10, false, "F"},
                    ChordCase{"F", 0, 7, false, "E#"},
                    // A whole octave either way changes nothing.
                    ChordCase{"Am", -12, 0, false, "Am"}, ChordCase{"Bb", -12, 20, false, "Bb"},
                    ChordCase{"C", -13, 0, false, "B"},
                    // B as B flat: H reads as B natural, which the table writes as B.
                    ChordCase{"B", 0, 0, true, "A#"}, ChordCase{"Bb", 0, 0, true, "A"},
                    ChordCase{"H", 0, 0, true, "B"}, ChordCase{"B", 0, 3, true, "Bb"},
                    ChordCase{"Bb", 0, 0, false, "A#"},
                    // Steps far outside the dialog's range are reduced exactly.
                    ChordCase{"C", LONG_MAX, 0, false, "G"}, ChordCase{"Bm7", LONG_MIN + 1, 0, false, "Em7"},
                    // No root, or no such key: the run comes back as it is.
                    ChordCase{"7", 5, 4, false, "7"}, ChordCase{"am", 5, 4, false, "am"},
                    ChordCase{"", 5, 4, false, ""}, ChordCase{"Am7", 3, -1, false, "Am7"},
                    ChordCase{"Am7", 3, kKeyCount, false, "Am7"}));

// Every spelling of every root, every key, every suffix: the new root is a
// name of the key with the right pitch, the suffix stays character for
// character, and ChordRootLength says how much was replaced.
TEST(TransposeChord, WritesANameOfTheKeyAndKeepsTheSuffix) {
  BuildChordTable();
  const char* const suffixes[] = {"", "m7", "maj7*", "/G", "mH", "\xA0(x)"};
  const char* const roots[] = {"C", "C#", "Db", "D", "Eb", "E", "Fb", "E#", "F", "Gb", "G", "Ab",
                               "A", "Bb", "B",  "Cb", "H", "Hb", "Fx", "Ebb", "B#"};
  for (int key = 0; key < kKeyCount; ++key) {
    const auto& row = chordTable()[key];
    for (const char* root : roots) {
      for (const bool bIsBess : {false, true}) {
        const int pitch = ParseNote(root, bIsBess).pitch;
        for (const long steps : {-7L, 0L, 5L, 12L, 1000000007L}) {
          for (const char* suffix : suffixes) {
            const std::string text = std::string(root) + suffix;
            const Transposed result = TransposeChord(text, steps, key, bIsBess);
            const std::string newRoot = result.newText.substr(0, result.newText.size() - std::string(suffix).size());
            SCOPED_TRACE(text + " by " + std::to_string(steps) + " in key " + std::to_string(key));
            EXPECT_EQ(result.newText.substr(newRoot.size()), suffix);
            EXPECT_NE(std::find(row.begin(), row.end(), newRoot), row.end()) << newRoot;
            EXPECT_EQ(ParseNote(newRoot, false).pitch, ((pitch + steps % 12) % 12 + 12) % 12);
            EXPECT_EQ(ChordRootLength(text, key, bIsBess), static_cast<long>(std::string(root).size()));
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace sonavel
