// Fret numbers of tablature and their transposition.

#include "engine/Tablature.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace sonavel {
namespace {

TEST(IsTabChar, AcceptsExactlyTheSixteenTablatureMarks) {
  const std::string marks = "-^()~|/\\hprbHPRB";
  for (int c = 0; c < 256; ++c) {
    EXPECT_EQ(IsTabChar(static_cast<char>(c)), marks.find(static_cast<char>(c)) != std::string::npos) << c;
  }
}

TEST(ScanFrets, FindsOneOrTwoDigitRunsBetweenTablatureMarks) {
  const struct {
    const char* text;
    long s, e;  // e = -1: the last character
    std::vector<std::string> frets;
  } rows[] = {
      {"e|---3---5-7h8---|", 0, -1, {"3", "5", "7", "8"}},
      {"|-12-| |-123-| --1234567--", 0, -1, {"12"}},
      {"- 3 - a3- x3x-4r -\xA0" "3-", 0, -1, {"4"}},
      {"b3b B12P (7)~5^/3\\", 0, -1, {"3", "12", "7", "5", "3"}},
      {"-3\n-4 e|-3-|\n|-5-|", 0, -1, {"3", "5"}},
      {"3-", 0, -1, {}},
      {"", 0, -1, {}},
      // The last character of the range only closes a fret, and the first
      // only opens one.
      {"-5-", 0, 1, {}},
      {"-12-", 0, 2, {}},
      {"-12-", 0, 3, {"12"}},
      {"-3-12", 0, -1, {"3"}},
      {"-5-", 1, 2, {}},
      {"|-5-|-7-|", 2, 8, {"7"}},
  };
  for (const auto& row : rows) {
    const std::string text = row.text;
    std::vector<std::string> found;
    ScanFrets(text, row.s, row.e < 0 ? static_cast<long>(text.size()) - 1 : row.e,
              [&](TextSpan span) { found.push_back(text.substr(span.start, span.end - span.start + 1)); });
    EXPECT_EQ(found, row.frets) << text;
  }
}

struct TabCase {
  const char* text;
  long steps, mini, maxi;
  const char* expected;
};

void PrintTo(const TabCase& c, std::ostream* out) {
  *out << '"' << c.text << "\" by " << c.steps << " into [" << c.mini << ", " << c.maxi << ']';
}

class TransposeTabTest : public testing::TestWithParam<TabCase> {};

TEST_P(TransposeTabTest, ReplacesTheRunWithTheFoldedFret) {
  const TabCase& c = GetParam();
  const Transposed result = TransposeTab(c.text, c.steps, c.mini, c.maxi);
  EXPECT_EQ(result.newText, c.expected);
  EXPECT_EQ(result.delta, static_cast<long>(result.newText.size()) - static_cast<long>(std::string(c.text).size()));
}

INSTANTIATE_TEST_SUITE_P(
    Frets, TransposeTabTest,
    testing::Values(TabCase{"14", 3, 0, 15, "5"}, TabCase{"0", -1, 0, 15, "11"}, TabCase{"3", 12, 0, 15, "15"},
                    TabCase{"4", 12, 0, 15, "4"}, TabCase{"10", -2, 0, 15, "8"}, TabCase{"15", 1, 0, 15, "4"},
                    TabCase{"3", 0, 12, 24, "15"}, TabCase{"25", 0, 12, 24, "13"}, TabCase{"0", -100, 12, 24, "20"},
                    // Twelve frets are enough to fold; eleven are not.
                    TabCase{"11", 1, 0, 11, "0"}, TabCase{"11", 1, 0, 10, "12"},
                    // Without folding only negative results move, by the truncating remainder.
                    TabCase{"7", 2, 0, 5, "9"}, TabCase{"0", -1, 0, 5, "11"}, TabCase{"0", -11, 0, 5, "1"},
                    TabCase{"0", -12, 0, 5, "12"}, TabCase{"0", -13, 0, 5, "11"}, TabCase{"0", -25, 0, 10, "11"},
                    // A negative bound or an inverted window turns folding off as well.
                    TabCase{"0", -1, -1, 15, "11"}, TabCase{"20", 0, -1, 15, "20"}, TabCase{"20", 0, 5, 3, "20"},
                    // The run is read as atoi reads it.
                    TabCase{"x", 3, 0, 15, "3"}, TabCase{"\t\n 2", 0, 0, 15, "2"}, TabCase{"+5", 1, 0, 15, "6"},
                    TabCase{"-3", 0, 0, 15, "9"}, TabCase{"- 3", 2, 0, 15, "2"}, TabCase{"12abc", 0, 0, 15, "12"},
                    TabCase{"007", 0, 0, 15, "7"},
                    // Sums beyond long are exact, not wrapped: LONG_MAX = 7, LONG_MIN = 4 (mod 12).
                    TabCase{"11", LONG_MAX, 0, 15, "6"}, TabCase{"-1", LONG_MIN, 0, 15, "3"},
                    TabCase{"0", LONG_MIN, 12, 24, "16"}, TabCase{"-1", LONG_MIN, 0, 5, "3"},
                    TabCase{"5", 0, LONG_MAX - 11, LONG_MAX, "9223372036854775805"},
                    TabCase{"5", LONG_MAX, 0, LONG_MAX, "9223372036854775800"}));

// Digit runs and steps far beyond long still fold like their true sums: two
// step values a multiple of 12 apart land on the same fret.
TEST(TransposeTab, HugeRunsAndStepsStayInTheWindowAndKeepTheOctave) {
  constexpr long kOctaves = 12L * 700000000000000000L;
  for (const std::string& text : {std::string("99999999999999999999999"), std::string("-99999999999999999999"),
                                  std::string(100000, '9')}) {
    // Without folding a negative sum still takes the truncating remainder.
    if (text[0] == '-') {
      const long fret = std::stol(TransposeTab(text, LONG_MIN, 0, 5).newText);
      EXPECT_TRUE(fret >= 1 && fret <= 12) << fret;
    }
    for (const auto& [mini, maxi] : {std::pair{0L, 15L}, std::pair{12L, 24L}, std::pair{3L, 99L}}) {
      for (const long steps : {LONG_MAX, LONG_MIN}) {
        SCOPED_TRACE(text.substr(0, 25) + " by " + std::to_string(steps) + " into " + std::to_string(maxi));
        const std::string fret = TransposeTab(text, steps, mini, maxi).newText;
        EXPECT_GE(std::stol(fret), mini);
        EXPECT_LE(std::stol(fret), maxi);
        if ((steps > 0) != (text[0] == '-')) {
          EXPECT_EQ(TransposeTab(text, steps > 0 ? steps - kOctaves : steps + kOctaves, mini, maxi).newText, fret);
        }
      }
    }
  }
}

}  // namespace
}  // namespace sonavel
