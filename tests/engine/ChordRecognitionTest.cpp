// Which tokens of a text are chords.

#include "engine/ChordRecognition.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sonavel {
namespace {

TEST(IsSeparator, AcceptsExactlyTheSeventeenSeparators) {
  const std::string separators = std::string(" \t/[]\r\n(),.'<>{}") + '\xA0';
  for (int c = 0; c < 256; ++c) {
    const bool expected = separators.find(static_cast<char>(c)) != std::string::npos;
    EXPECT_EQ(IsSeparator(static_cast<char>(c)), expected) << "character " << c;
  }
}

TEST(IsChord, FollowsTheChordGrammar) {
  for (const char* chord : {"C", "Am", "F#m7", "Bb", "Ebb", "Cx", "H7", "H", "A", "Cmaj7", "Cmmaj7", "Amin", "Asus4",
                            "Csus", "Cadd9", "Caug", "Cdim7", "C13", "Dm7sus4", "E7*", "Am*", "C*", "Cb5",
                            "G7sus4add9", "Cmaj"}) {
    EXPECT_TRUE(IsChord(chord)) << chord;
  }
  // An accidental after a digit (Cm7b5), a capital M, a suffix cut short.
  for (const char* other : {"", "am", "N", "CM7", "Cm7b5", "C+", "C-", "Cmm", "Cmi", "Cma", "Dad", "Add", "Be", "C*7",
                            "E*m", "C**", "Cmaj7m", "I", "\xC4m", "C\xB2", "-", "add9"}) {
    EXPECT_FALSE(IsChord(other)) << other;
  }
}

// Cuts a whole text into tokens the way colorizing walks a range.
std::vector<std::string> Tokens(std::string_view text) {
  std::vector<std::string> tokens;
  long from = 0;
  while (const auto span = NextToken(text, from, static_cast<long>(text.size()) - 1)) {
    tokens.emplace_back(text.substr(span->start, span->end - span->start + 1));
    from = span->end + 1;
  }
  return tokens;
}

TEST(NextToken, CutsAtSeparatorsOnly) {
  const std::pair<const char*, std::vector<std::string>> rows[] = {
      {"Am7/G", {"Am7", "G"}},   {"[Am]", {"Am"}},           {"C(add9)", {"C", "add9"}},
      {"Am,G.", {"Am", "G"}},    {"A - B", {"A", "-", "B"}}, {"N.C.", {"N", "C"}},
      {"C\xA0G", {"C", "G"}},    {"{x}<y>'z'\r\n\tw", {"x", "y", "z", "w"}},
      {" \r\n ", {}},            {"", {}},
  };
  for (const auto& [text, tokens] : rows) EXPECT_EQ(Tokens(text), tokens) << text;
}

TEST(NextToken, StaysInsideTheInclusiveRange) {
  const struct {
    long from, to;
    std::optional<TextSpan> token;
  } rows[] = {
      {0, 2, TextSpan{0, 2}},  // a token running on past `to` is cut there
      {3, 6, TextSpan{3, 4}},  // it may start inside a word
      {5, 6, TextSpan{6, 6}},  // a one-letter token at `to`
      {5, 5, std::nullopt},    // `to` is a separator
      {4, 3, std::nullopt},    // an empty range
  };
  for (const auto& row : rows) EXPECT_EQ(NextToken("Cmaj7 G", row.from, row.to), row.token) << row.from;
}

TEST(IsInBrackets, LooksBackOnTheSameLineForAnOpenBracket) {
  const struct {
    const char* text;
    long pos;
    bool inside;
  } rows[] = {
      {"[C]Hello [G7]world", 1, true}, {"[C]Hello [G7]world", 10, true}, {"[C]Hello [G7]world", 3, false},
      {"C [x] G", 6, false},           // a closing bracket stands between
      {"[\nG", 2, false},              // the line end stops the look-back
      {"[C", 0, false},                {"[C", -3, false},                {"[", 1, true},
  };
  for (const auto& row : rows) EXPECT_EQ(IsInBrackets(row.text, row.pos), row.inside) << row.text << " at " << row.pos;
}

}  // namespace
}  // namespace sonavel
