// The key table and note reading.

#include "engine/NoteTable.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace sonavel {
namespace {

// The published key chart, row by row: the engine's constant text is held
// against this copy, not against itself.
const char* const kKeyChart[kKeyCount] = {
    "C C# D D# E F F# G G# A A# B",        "D D# E F F# G G# A A# B C C#",
    "E F F# G G# A A# B C C# D D#",        "F Gb G Ab A Bb B C Db D Eb E",
    "G G# A A# B C C# D D# E F F#",        "A A# B C C# D D# E F F# G G#",
    "B C C# D D# E F F# G G# A A#",        "C# D D# E E# F# G G# A A# B B#",
    "D# Dx E# F# Fx G# Gx A# Ax B# C# Cx", "E# F# Fx G# Gx A# Ax B# C# Cx D# Dx",
    "F# G G# A A# B C C# D D# E F",        "G# Gx A# Ax B# C# Cx D# Dx E# F# Fx",
    "A# Ax B# C# Cx D# Dx E# F# Fx G# Gx", "B# C# Cx D# Dx E# F# Fx G# Gx A# Ax",
    "Cb C Db D Eb E F Gb G Ab A Bb",       "Db D Eb E F Gb G Ab A Bb B C",
    "Eb E F Gb G Ab A Bb B C Db D",        "Fb Gbb Gb Abb Ab Bbb Bb Cb Dbb Db Ebb Eb",
    "Gb G Ab A Bb Cb C Db D Eb E F",       "Ab A Bb B C Db D Eb E F Gb G",
    "Bb B C Db D Eb E F Gb G Ab A",
};

TEST(ChordTable, IsTheKeyChartAndEveryNameReadsAsItsPitch) {
  BuildChordTable();
  for (int k = 0; k < kKeyCount; ++k) {
    std::istringstream names(kKeyChart[k]);
    std::string name;
    int root = -1;
    for (int j = 0; j < kSemitones; ++j) {
      ASSERT_TRUE(names >> name);
      EXPECT_EQ(chordTable()[k][j], name) << "row " << k << ", column " << j;
      const NoteReading reading = ParseNote(name, false);
      if (j == 0) root = reading.pitch;
      EXPECT_EQ(reading.pitch, (root + j) % kSemitones) << name;
      EXPECT_EQ(reading.length, static_cast<int>(name.size())) << name;
    }
    EXPECT_EQ(keyRoots()[k], root) << "row " << k;
  }
}

// The chart shows every name on its own; these are the other readings: a
// suffix after the note, mixed accidentals, x before a suffix, the letters B
// and H with and without the B-flat option, texts without a note letter, and
// accidentals counted round the octave.
TEST(ParseNote, ReadsPitchClassAndLengthOfTheLeadingNote) {
  const struct {
    const char* text;
    bool bIsBess;
    int pitch, length;
  } rows[] = {
      {"Am7", false, 9, 1},   {"C#bx", false, 2, 4},      {"Exsus", false, 6, 2}, {"B7", true, 10, 1},
      {"B7", false, 11, 1},   {"Bb", true, 9, 2},         {"H7", true, 11, 1},    {"Hb", false, 10, 2},
      {"am", false, -1, 0},   {"N.C.", false, -1, 0},     {"", false, -1, 0},     {"#C", false, -1, 0},
      {"\xC4", false, -1, 0}, {"Cxxxxxxb", false, 11, 8},
  };
  for (const auto& row : rows) {
    const NoteReading reading = ParseNote(row.text, row.bIsBess);
    EXPECT_EQ(reading.pitch, row.pitch) << row.text << (row.bIsBess ? " (B as Bb)" : "");
    EXPECT_EQ(reading.length, row.length) << row.text;
  }
}

}  // namespace
}  // namespace sonavel
