// The key table and note reading.

#include "engine/NoteTable.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace sonavel {
namespace {

// The published key chart, row by row, so that the test checks the
// engine's constant text instead of repeating it.
const char* const kKeyChart[kKeyCount] = {
    "C C# D D# E F F# G G# A A# B",          "D D# E F F# G G# A A# B C C#",
    "E F F# G G# A A# B C C# D D#",          "F Gb G Ab A Bb B C Db D Eb E",
    "G G# A A# B C C# D D# E F F#",          "A A# B C C# D D# E F F# G G#",
    "B C C# D D# E F F# G G# A A#",          "C# D D# E E# F# G G# A A# B B#",
    "D# Dx E# F# Fx G# Gx A# Ax B# C# Cx",   "E# F# Fx G# Gx A# Ax B# C# Cx D# Dx",
    "F# G G# A A# B C C# D D# E F",          "G# Gx A# Ax B# C# Cx D# Dx E# F# Fx",
    "A# Ax B# C# Cx D# Dx E# F# Fx G# Gx",   "B# C# Cx D# Dx E# F# Fx G# Gx A# Ax",
    "Cb C Db D Eb E F Gb G Ab A Bb",         "Db D Eb E F Gb G Ab A Bb B C",
    "Eb E F Gb G Ab A Bb B C Db D",          "Fb Gbb Gb Abb Ab Bbb Bb Cb Dbb Db Ebb Eb",
    "Gb G Ab A Bb Cb C Db D Eb E F",         "Ab A Bb B C Db D Eb E F Gb G",
    "Bb B C Db D Eb E F Gb G Ab A",
};
const int kKeyRoots[kKeyCount] = {0, 2, 4, 5, 7, 9, 11, 1, 3, 5, 6, 8, 10, 0, 11, 1, 3, 4, 6, 8, 10};

TEST(ChordTable, IsTheKeyChartAndEveryNameReadsAsItsPitch) {
  BuildChordTable();
  for (int k = 0; k < kKeyCount; ++k) {
    std::istringstream names(kKeyChart[k]);
    std::string name;
    for (int j = 0; j < kSemitones; ++j) {
      ASSERT_TRUE(names >> name);
      EXPECT_EQ(chordTable()[k][j], name) << "row " << k << ", column " << j;
      const NoteReading reading = ParseNote(name, false);
      EXPECT_EQ(reading.pitch, (kKeyRoots[k] + j) % kSemitones) << name;
      EXPECT_EQ(reading.length, static_cast<int>(name.size())) << name;
    }
    EXPECT_EQ(keyRoots()[k], kKeyRoots[k]) << "row " << k;
  }
}

struct NoteCase {
  const char* text;
  bool bIsBess;
  int pitch;
  int length;
};

void PrintTo(const NoteCase& c, std::ostream* out) { *out << c.text << (c.bIsBess ? " (B as Bb)" : ""); }

class ParseNoteTest : public testing::TestWithParam<NoteCase> {};

TEST_P(ParseNoteTest, ReadsPitchClassAndLengthOfTheLeadingNote) {
  const NoteReading reading = ParseNote(GetParam().text, GetParam().bIsBess);
  EXPECT_EQ(reading.pitch, GetParam().pitch);
  EXPECT_EQ(reading.length, GetParam().length);
}

INSTANTIATE_TEST_SUITE_P(
    Notes, ParseNoteTest,
    testing::Values(NoteCase{"Am7", false, 9, 1}, NoteCase{"F#m", false, 6, 2}, NoteCase{"Ebb", false, 2, 3},
                    NoteCase{"Cx", false, 2, 2}, NoteCase{"Cb", false, 11, 2}, NoteCase{"B#", false, 0, 2},
                    NoteCase{"C#bx", false, 2, 4}, NoteCase{"Cbbbbbbbbbbbb", false, 0, 13},
                    NoteCase{"Exsus", false, 6, 2},
                    // The letter B is B flat only with the option; H is always B natural.
                    NoteCase{"B7", true, 10, 1}, NoteCase{"B7", false, 11, 1}, NoteCase{"Bb", true, 9, 2},
                    NoteCase{"H7", true, 11, 1}, NoteCase{"Hb", false, 10, 2},
                    // No note letter: nothing is read.
                    NoteCase{"am", false, -1, 0}, NoteCase{"N.C.", false, -1, 0}, NoteCase{"", false, -1, 0},
                    NoteCase{"#C", false, -1, 0}, NoteCase{"\xC4", false, -1, 0}));

TEST(ParseNote, ReadsAnyNumberOfAccidentalsWithoutOverflow) {
  const NoteReading sharps = ParseNote("C" + std::string(100001, '#'), false);
  EXPECT_EQ(sharps.pitch, 100001 % kSemitones);
  EXPECT_EQ(sharps.length, 100002);
  EXPECT_EQ(ParseNote("A" + std::string(100000, 'b'), false).pitch, 5);  // 100000 = 4 (mod 12)
}

}  // namespace
}  // namespace sonavel
