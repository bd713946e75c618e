#include "engine/ChordRecognition.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sonavel {
namespace {

TEST(IsSeparator, AcceptsExactlyTheSeventeenSeparatorsIncludingNoBreakSpace) {
  const std::string separators = std::string(" \t/[]\r\n(),.'<>{}") + '\xA0';
  ASSERT_EQ(separators.size(), 17u);
  for (int c = 0; c < 256; ++c) {
    const bool expected = separators.find(static_cast<char>(c)) != std::string::npos;
    EXPECT_EQ(IsSeparator(static_cast<unsigned char>(c)), expected) << "character " << c;
    EXPECT_EQ(IsSeparator(static_cast<char>(c)), expected) << "character " << c << " as plain char";
  }
}

struct ChordCase {
  std::string token;
  bool chord;
};

class IsChordTest : public testing::TestWithParam<ChordCase> {};

TEST_P(IsChordTest, FollowsTheChordGrammar) {
  EXPECT_EQ(IsChord(GetParam().token), GetParam().chord) << GetParam().token;
}

INSTANTIATE_TEST_SUITE_P(
    Chords, IsChordTest,
    testing::Values(ChordCase{"C", true}, ChordCase{"Am", true}, ChordCase{"F#m7", true}, ChordCase{"Bb", true},
                    ChordCase{"Ebb", true}, ChordCase{"Cx", true}, ChordCase{"H7", true}, ChordCase{"H", true},
                    ChordCase{"A", true}, ChordCase{"Cmaj7", true}, ChordCase{"Cmmaj7", true},
                    ChordCase{"Amin", true}, ChordCase{"Asus4", true}, ChordCase{"Csus", true},
                    ChordCase{"Cadd9", true}, ChordCase{"Caug", true}, ChordCase{"Cdim7", true},
                    ChordCase{"C13", true}, ChordCase{"Dm7sus4", true}, ChordCase{"E7*", true},
                    ChordCase{"Am*", true}, ChordCase{"C*", true}, ChordCase{"Cb5", true},
                    ChordCase{"G7sus4add9", true}, ChordCase{"Cmaj", true}));

INSTANTIATE_TEST_SUITE_P(
    NotChords, IsChordTest,
    testing::Values(ChordCase{"", false}, ChordCase{"am", false}, ChordCase{"N", false}, ChordCase{"CM7", false},
                    ChordCase{"Cm7b5", false},  // an accidental after a digit
                    ChordCase{"C+", false}, ChordCase{"C-", false}, ChordCase{"Cmm", false},
                    ChordCase{"Cmi", false}, ChordCase{"Cma", false}, ChordCase{"Dad", false},
                    ChordCase{"Add", false}, ChordCase{"Be", false}, ChordCase{"C*7", false},
                    ChordCase{"E*m", false}, ChordCase{"C**", false}, ChordCase{"Cmaj7m", false},
                    ChordCase{"I", false}, ChordCase{"\xC4m", false}, ChordCase{"C\xB2", false},
                    ChordCase{"-", false}, ChordCase{"add9", false}));

// Cuts the whole text into tokens the way colorizing walks a range.
std::vector<std::string> Tokens(std::string_view text) {
  std::vector<std::string> tokens;
  const long to = static_cast<long>(text.size()) - 1;
  long from = 0;
  while (const std::optional<TextSpan> span = NextToken(text, from, to)) {
    EXPECT_LE(span->start, span->end);
    tokens.emplace_back(text.substr(span->start, span->end - span->start + 1));
    from = span->end + 1;
  }
  return tokens;
}

struct SplitCase {
  std::string text;
  std::vector<std::string> tokens;
};

class TokenSplitTest : public testing::TestWithParam<SplitCase> {};

TEST_P(TokenSplitTest, CutsAtSeparatorsOnly) { EXPECT_EQ(Tokens(GetParam().text), GetParam().tokens); }

INSTANTIATE_TEST_SUITE_P(
    Texts, TokenSplitTest,
    testing::Values(SplitCase{"Am7/G", {"Am7", "G"}}, SplitCase{"[Am]", {"Am"}},
                    SplitCase{"C(add9)", {"C", "add9"}}, SplitCase{"Am,G.", {"Am", "G"}},
                    SplitCase{"A - B", {"A", "-", "B"}}, SplitCase{"N.C.", {"N", "C"}},
                    SplitCase{"C\xA0G", {"C", "G"}}, SplitCase{"la la C", {"la", "la", "C"}},
                    SplitCase{"{x}<y>'z'\r\n\tw", {"x", "y", "z", "w"}}, SplitCase{" \r\n ", {}},
                    SplitCase{"", {}}));

struct RangeCase {
  std::string text;
  long from;
  long to;
  std::optional<TextSpan> expected;
};

class NextTokenRangeTest : public testing::TestWithParam<RangeCase> {};

TEST_P(NextTokenRangeTest, StaysInsideTheInclusiveRange) {
  const RangeCase& c = GetParam();
  EXPECT_EQ(NextToken(c.text, c.from, c.to), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, NextTokenRangeTest,
    testing::Values(RangeCase{"Cmaj7 G", 0, 2, TextSpan{0, 2}},   // cut at `to`
                    RangeCase{"Cmaj7 G", 3, 6, TextSpan{3, 4}},   // may start inside a word
                    RangeCase{"Cmaj7 G", 5, 6, TextSpan{6, 6}},   // a one-letter token at `to`
                    RangeCase{"Cmaj7 G", 5, 5, std::nullopt},     // `to` is a separator
                    RangeCase{"Cmaj7 G", 4, 3, std::nullopt},     // empty range
                    RangeCase{"Am", 1, 1, TextSpan{1, 1}}));

struct BracketCase {
  std::string text;
  long pos;
  bool inside;
};

class IsInBracketsTest : public testing::TestWithParam<BracketCase> {};

TEST_P(IsInBracketsTest, LooksBackOnTheSameLineForAnOpenBracket) {
  const BracketCase& c = GetParam();
  EXPECT_EQ(IsInBrackets(c.text, c.pos), c.inside) << c.text << " at " << c.pos;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, IsInBracketsTest,
    testing::Values(BracketCase{"[C]Hello [G7]world", 1, true}, BracketCase{"[C]Hello [G7]world", 10, true},
                    BracketCase{"[C]Hello [G7]world", 11, true}, BracketCase{"[C]Hello [G7]world", 3, false},
                    BracketCase{"C [x] G", 6, false},     // a closing bracket stands between
                    BracketCase{"[\nG", 2, false},        // the line feed ends the look-back
                    BracketCase{"[ C\r\nG", 5, false},    // also after a CR LF line end
                    BracketCase{"[C", 0, false}, BracketCase{"[C", -3, false}, BracketCase{"C G", 2, false},
                    BracketCase{"[", 1, true}));

}  // namespace
}  // namespace sonavel
