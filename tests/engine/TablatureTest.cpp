// Fret numbers of tablature and their transposition.

#include "engine/Tablature.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace sonavel {
namespace {

TEST(IsTabChar, AcceptsExactlyTheSixteenTablatureMarks) {
  const std::string marks = "-^()~|/\\hprbHPRB";
  for (int c = 0; c < 256; ++c) {
    EXPECT_EQ(IsTabChar(static_cast<char>(c)), marks.find(static_cast<char>(c)) != std::string::npos) << c;
  }
}

// The frets found, joined by spaces.
std::string Frets(const std::string& text, long s, long e) {
  std::string found;
  ScanFrets(text, s, e, [&](TextSpan span) {
    found += (found.empty() ? "" : " ") + text.substr(span.start, span.end - span.start + 1);
  });
  return found;
}

// Spaces, letters other than the marks and line ends disqualify a run, and
// so does the first or last character of the text standing next to it. Of a
// range within the text, the last character only closes a fret, and the
// first only opens one.
TEST(ScanFrets, FindsOneOrTwoDigitRunsBetweenTablatureMarks) {
  const struct {
    std::string text;
    const char* frets;
    long s = 0, e = -1;  // -1: the text's last character
  } rows[] = {
      {"e|---3---5-7h8---| |-12-| |-123-| --1234567--", "3 5 7 8 12"},
      {"- 3 - a3- x3x-4r -3\xA0- b3b B12P (7)~5^/3\\", "4 3 12 7 5 3"},
      {"3- -3\n-4 e|-3-|\n|-5-| -3-12", "3 5 3"},
      {"", ""},
      {"-5-", "", 0, 1}, {"-12-", "", 0, 2}, {"-12-", "12", 0, 3}, {"-5-", "", 1, 2}, {"|-5-|-7-|", "7", 2, 8},
  };
  for (const auto& row : rows) {
    const long e = row.e < 0 ? static_cast<long>(row.text.size()) - 1 : row.e;
    EXPECT_EQ(Frets(row.text, row.s, e), row.frets) << row.text << " " << row.s << ".." << e;
  }
}

// By groups: the default window 0..15 and the window 12..24; twelve frets
// are enough to fold, eleven are not; without folding only negative results
// move, by the truncating remainder, and 0 stays; a negative bound or an
// inverted window turns folding off as well; the run is read as atoi reads
// it; sums beyond long are exact, not wrapped (LONG_MAX = 7, LONG_MIN = 4
// mod 12).
TEST(TransposeTab, ReplacesTheRunWithTheFoldedFret) {
  const struct {
    const char* text;
    long steps, mini, maxi;
    const char* expected;
  } rows[] = {
      {"14", 3, 0, 15, "5"},        {"0", -1, 0, 15, "11"},       {"3", 12, 0, 15, "15"},
      {"4", 12, 0, 15, "4"},        {"10", -2, 0, 15, "8"},       {"9", 2, 0, 15, "11"},
      {"3", 0, 12, 24, "15"},       {"25", 0, 12, 24, "13"},      {"0", -100, 12, 24, "20"},
      {"11", 1, 0, 11, "0"},        {"11", 1, 0, 10, "12"},       {"7", 2, 0, 5, "9"},
      {"7", -7, 0, 5, "0"},         {"0", -1, 0, 5, "11"},        {"0", -11, 0, 5, "1"},
      {"0", -12, 0, 5, "12"},       {"0", -13, 0, 5, "11"},       {"0", -1, -1, 15, "11"},
      {"20", 0, -1, 15, "20"},      {"20", 0, 5, 3, "20"},        {"x", 3, 0, 15, "3"},
      {"\t\n\v\f\r 2", 0, 0, 15, "2"},    {"+5", 1, 0, 15, "6"},        {"-3", 0, 0, 15, "9"},
      {"- 3", 2, 0, 15, "2"},       {"12abc", 0, 0, 15, "12"},    {"007", 0, 0, 15, "7"},
      {"11", LONG_MAX, 0, 15, "6"}, {"-1", LONG_MIN, 0, 15, "3"}, {"0", LONG_MIN, 12, 24, "16"},
      {"-1", LONG_MIN, 0, 5, "3"},
  };
  for (const auto& row : rows) {
    const Transposed result = TransposeTab(row.text, row.steps, row.mini, row.maxi);
    EXPECT_EQ(result.newText, row.expected)
        << '"' << row.text << "\" by " << row.steps << " into " << row.mini << ".." << row.maxi;
    EXPECT_EQ(result.delta, static_cast<long>(result.newText.size()) - static_cast<long>(std::string(row.text).size()));
  }
  // Windows reaching up to LONG_MAX fold without overflow.
  EXPECT_EQ(TransposeTab("5", 0, LONG_MAX - 11, LONG_MAX).newText, "9223372036854775805");
  EXPECT_EQ(TransposeTab("5", LONG_MAX, 0, LONG_MAX).newText, "9223372036854775800");
  // The run ends where it ends, whatever digits follow it in the text.
  EXPECT_EQ(TransposeTab(std::string_view("123").substr(0, 2), 0, 0, 99).newText, "12");
}

}  // namespace
}  // namespace sonavel
