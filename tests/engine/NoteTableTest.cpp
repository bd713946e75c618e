#include "engine/NoteTable.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace sonavel {
namespace {

// The published key chart, typed in its own layout (row | root | 12 names) so
// that it checks the engine's constant text rather than repeating it.
constexpr std::string_view kKeyChart = R"(
| 0 | 0 | C | C# | D | D# | E | F | F# | G | G# | A | A# | B |
| 1 | 2 | D | D# | E | F | F# | G | G# | A | A# | B | C | C# |
| 2 | 4 | E | F | F# | G | G# | A | A# | B | C | C# | D | D# |
| 3 | 5 | F | Gb | G | Ab | A | Bb | B | C | Db | D | Eb | E |
| 4 | 7 | G | G# | A | A# | B | C | C# | D | D# | E | F | F# |
| 5 | 9 | A | A# | B | C | C# | D | D# | E | F | F# | G | G# |
| 6 | 11 | B | C | C# | D | D# | E | F | F# | G | G# | A | A# |
| 7 | 1 | C# | D | D# | E | E# | F# | G | G# | A | A# | B | B# |
| 8 | 3 | D# | Dx | E# | F# | Fx | G# | Gx | A# | Ax | B# | C# | Cx |
| 9 | 5 | E# | F# | Fx | G# | Gx | A# | Ax | B# | C# | Cx | D# | Dx |
| 10 | 6 | F# | G | G# | A | A# | B | C | C# | D | D# | E | F |
| 11 | 8 | G# | Gx | A# | Ax | B# | C# | Cx | D# | Dx | E# | F# | Fx |
| 12 | 10 | A# | Ax | B# | C# | Cx | D# | Dx | E# | F# | Fx | G# | Gx |
| 13 | 0 | B# | C# | Cx | D# | Dx | E# | F# | Fx | G# | Gx | A# | Ax |
| 14 | 11 | Cb | C | Db | D | Eb | E | F | Gb | G | Ab | A | Bb |
| 15 | 1 | Db | D | Eb | E | F | Gb | G | Ab | A | Bb | B | C |
| 16 | 3 | Eb | E | F | Gb | G | Ab | A | Bb | B | C | Db | D |
| 17 | 4 | Fb | Gbb | Gb | Abb | Ab | Bbb | Bb | Cb | Dbb | Db | Ebb | Eb |
| 18 | 6 | Gb | G | Ab | A | Bb | Cb | C | Db | D | Eb | E | F |
| 19 | 8 | Ab | A | Bb | B | C | Db | D | Eb | E | F | Gb | G |
| 20 | 10 | Bb | B | C | Db | D | Eb | E | F | Gb | G | Ab | A |
)";

struct ChartRow {
  int row = -1;
  int root = -1;
  std::vector<std::string> names;
};

std::vector<ChartRow> ReadKeyChart() {
  std::vector<ChartRow> rows;
  std::istringstream lines{std::string(kKeyChart)};
  for (std::string line; std::getline(lines, line);) {
    if (line.empty()) continue;
    std::vector<std::string> cells;
    std::istringstream cellStream(line);
    for (std::string cell; std::getline(cellStream, cell, '|');) {
      const auto first = cell.find_first_not_of(' ');
      if (first == std::string::npos) continue;
      cells.push_back(cell.substr(first, cell.find_last_not_of(' ') - first + 1));
    }
    ChartRow r;
    r.row = std::stoi(cells.at(0));
    r.root = std::stoi(cells.at(1));
    r.names.assign(cells.begin() + 2, cells.end());
    rows.push_back(r);
  }
  return rows;
}

TEST(ChordTable, HoldsEveryNameAndKeyRootOfTheKeyChartInOrder) {
  BuildChordTable();
  const std::vector<ChartRow> chart = ReadKeyChart();
  ASSERT_EQ(chart.size(), static_cast<std::size_t>(kKeyCount));
  for (int k = 0; k < kKeyCount; ++k) {
    SCOPED_TRACE("row " + std::to_string(k));
    ASSERT_EQ(chart[k].row, k);
    ASSERT_EQ(chart[k].names.size(), static_cast<std::size_t>(kSemitones));
    EXPECT_EQ(keyRoots()[k], chart[k].root);
    for (int j = 0; j < kSemitones; ++j) EXPECT_EQ(chordTable()[k][j], chart[k].names[j]) << "column " << j;
  }
}

TEST(ChordTable, EveryEntryReadsBackAsItsPitchClassAndNeverUsesH) {
  for (int k = 0; k < kKeyCount; ++k) {
    for (int j = 0; j < kSemitones; ++j) {
      const std::string_view name = chordTable()[k][j];
      SCOPED_TRACE(std::string(name) + " at row " + std::to_string(k) + ", column " + std::to_string(j));
      EXPECT_GE(name.size(), 1u);
      EXPECT_LE(name.size(), 3u);
      EXPECT_EQ(name.find('H'), std::string_view::npos);
      const NoteReading reading = ParseNote(name, false);
      EXPECT_EQ(reading.pitch, (keyRoots()[k] + j) % kSemitones);
      EXPECT_EQ(reading.length, static_cast<int>(name.size()));  // the whole name is the note
    }
  }
}

struct NoteCase {
  std::string text;
  bool bIsBess;
  int pitch;
  int length;
};

class ParseNoteTest : public testing::TestWithParam<NoteCase> {};

TEST_P(ParseNoteTest, ReadsPitchClassAndLengthOfTheLeadingNote) {
  const NoteCase& c = GetParam();
  const NoteReading reading = ParseNote(c.text, c.bIsBess);
  EXPECT_EQ(reading.pitch, c.pitch);
  EXPECT_EQ(reading.length, c.length);
}

INSTANTIATE_TEST_SUITE_P(
    Notes, ParseNoteTest,
    testing::Values(NoteCase{"Am7", false, 9, 1}, NoteCase{"F#m", false, 6, 2}, NoteCase{"Ebb", false, 2, 3},
                    NoteCase{"Cx", false, 2, 2}, NoteCase{"Cb", false, 11, 2}, NoteCase{"B#", false, 0, 2},
                    NoteCase{"Fb", false, 4, 2}, NoteCase{"Gbb", false, 5, 3}, NoteCase{"Dbb", false, 0, 3},
                    NoteCase{"C#bx", false, 2, 4},  // accidentals mix freely
                    NoteCase{"Cbbbbbbbbbbbb", false, 0, 13}, NoteCase{"Exsus", false, 6, 2},
                    // The letter B is B flat only with the option; H is always B natural.
                    NoteCase{"B7", true, 10, 1}, NoteCase{"B7", false, 11, 1}, NoteCase{"Bb", true, 9, 2},
                    NoteCase{"H7", false, 11, 1}, NoteCase{"H7", true, 11, 1}, NoteCase{"Hb", false, 10, 2},
                    NoteCase{"Hb", true, 10, 2},
                    // No note letter: nothing is read.
                    NoteCase{"am", false, -1, 0}, NoteCase{"N.C.", false, -1, 0}, NoteCase{"", false, -1, 0},
                    NoteCase{"#C", false, -1, 0}, NoteCase{"I", false, -1, 0}, NoteCase{"\xC4", false, -1, 0}));

TEST(ParseNote, ReadsAnyNumberOfAccidentalsWithoutOverflow) {
  const std::string sharps = "C" + std::string(100001, '#');
  const NoteReading reading = ParseNote(sharps, false);
  EXPECT_EQ(reading.pitch, 100001 % kSemitones);
  EXPECT_EQ(reading.length, 100002);

  const std::string flats = "A" + std::string(100000, 'b');  // 100000 = 4 mod 12
  EXPECT_EQ(ParseNote(flats, false).pitch, 5);
}

}  // namespace
}  // namespace sonavel
