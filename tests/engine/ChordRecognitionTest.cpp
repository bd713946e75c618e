// Which tokens of a text are chords.

#include "engine/ChordRecognition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

namespace sonavel {
namespace {

TEST(IsSeparator, AcceptsExactlyTheSeventeenSeparators) {
  const std::string separators = std::string(" \t/[]\r\n(),.'<>{}") + '\xA0';
  for (int c = 0; c < 256; ++c) {
    const bool expected = separators.find(static_cast<char>(c)) != std::string::npos;
    EXPECT_EQ(IsSeparator(static_cast<char>(c)), expected) << "character " << c;
  }
}

// Refused: an accidental after a digit (Cm7b5), a capital M, a suffix cut
// short, a letter outside A-H, lower case.
TEST(IsChord, FollowsTheChordGrammar) {
  for (const char* chord :
       {"C",    "Am",    "F#m7", "Bb",    "Ebb", "Cx",      "H7",  "H",   "A",  "Cmaj7", "Cmmaj7",     "Amin", "Asus4",
        "Csus", "Cadd9", "Caug", "Cdim7", "C13", "Dm7sus4", "E7*", "Am*", "C*", "Cb5",   "G7sus4add9", "Cmaj", "A10"}) {
    EXPECT_TRUE(IsChord(chord)) << chord;
  }
  for (const char* other : {"",    "am", "N",   "CM7", "Cm7b5", "C+",     "C-", "Cmm",   "Cmi",   "Cma", "Dad",
                            "Add", "Be", "C*7", "E*m", "C**",   "Cmaj7m", "I",  "\xC4m", "C\xB2", "-",   "add9",
                            // one letter off each suffix word
                            "Cmxj", "Cmax", "Cmxn", "Cmix", "Csxs", "Csux", "Cdxm", "Cdix", "Caxd", "Cadx", "Caxg",
                            "Caux"}) {
    EXPECT_FALSE(IsChord(other)) << other;
  }
}

// A closing bracket, a line end or the start of the text stops the look-back;
// a text that continues a line starts in that line's state.
TEST(BracketScan, LooksBackOnTheSameLineForAnOpenBracket) {
  constexpr auto kOpen = BracketState::Open;
  const struct {
    const char* text;
    long pos;
    bool inside;
    BracketState atStart = BracketState::Closed;
  } rows[] = {
      {"[C]la [G7]x", 1, true}, {"[C]la [G7]x", 7, true}, {"[C]la [G7]x", 3, false}, {"[Am7", 3, true},
      {"C [x] G", 6, false},    {"[\nG", 2, false},       {"la G", 3, false},        {"[C", 0, false},
      {"[C", -3, false},        {"[", 1, true},           {"C D", 2, true, kOpen},   {"C] D", 3, false, kOpen},
      {"C\nD", 2, false, kOpen}, {"x\n[C", 4, true, kOpen}, {"", 0, true, kOpen},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(BracketScan(row.text, 0, row.atStart).OpenBefore(row.pos), row.inside) << row.text << " at " << row.pos;
    // Starting on the position's own line gives the same answer.
    EXPECT_EQ(BracketScan(row.text, row.pos, row.atStart).OpenBefore(row.pos), row.inside)
        << row.text << " from " << row.pos;
    // And so does the state after the text before it, which a next segment starts in.
    const auto beforeLength = static_cast<std::size_t>(std::max(row.pos, 0L));
    const std::string_view before = std::string_view(row.text).substr(0, beforeLength);
    EXPECT_EQ(BracketStateAfter(before, row.atStart) == kOpen, row.inside) << row.text << " after " << row.pos;
  }
  // A position beyond the text looks back from its last character; here the
  // text ends before the "]" that follows it in memory.
  EXPECT_TRUE(BracketScan(std::string_view("[C]", 2)).OpenBefore(5));
  // Asked in order, one scan answers for every position of a line.
  BracketScan scan("C [D] [E F] G\n[H");
  for (const auto& [pos, inside] : {std::pair{0L, false}, {3L, true}, {5L, false}, {7L, true}, {9L, true},
                                    {12L, false}, {15L, true}, {16L, true}}) {
    EXPECT_EQ(scan.OpenBefore(pos), inside) << pos;
  }
}

}  // namespace
}  // namespace sonavel
