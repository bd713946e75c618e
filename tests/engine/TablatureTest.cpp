#include "engine/Tablature.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace sonavel {
namespace {

TEST(IsTabChar, AcceptsExactlyTheSixteenTablatureMarks) {
  const std::string marks = "-^()~|/\\hprbHPRB";
  ASSERT_EQ(marks.size(), 16u);
  for (int c = 0; c < 256; ++c) {
    const bool expected = marks.find(static_cast<char>(c)) != std::string::npos;
    EXPECT_EQ(IsTabChar(static_cast<unsigned char>(c)), expected) << "character " << c;
    EXPECT_EQ(IsTabChar(static_cast<char>(c)), expected) << "character " << c << " as plain char";
  }
}

struct ScanCase {
  std::string text;
  long s;
  long e;  // -1: the last character of the text
  std::vector<std::string> frets;
};

class FretScanTest : public testing::TestWithParam<ScanCase> {};

TEST_P(FretScanTest, FindsOneOrTwoDigitRunsBetweenTablatureMarks) {
  const ScanCase& c = GetParam();
  const long e = c.e < 0 ? static_cast<long>(c.text.size()) - 1 : c.e;
  std::vector<std::string> found;
  long previousEnd = c.s;
  ScanFrets(c.text, c.s, e, [&](TextSpan span) {
    EXPECT_GT(span.start, previousEnd);
    EXPECT_LT(span.end, e);
    previousEnd = span.end;
    found.push_back(c.text.substr(span.start, span.end - span.start + 1));
  });
  EXPECT_EQ(found, c.frets) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FretScanTest,
    testing::Values(ScanCase{"e|---3---5-7h8---|", 0, -1, {"3", "5", "7", "8"}},
                    ScanCase{"|-12-|", 0, -1, {"12"}}, ScanCase{"|-123-|", 0, -1, {}},
                    ScanCase{"--1234567--12--", 0, -1, {"12"}}, ScanCase{"- 3 -", 0, -1, {}},
                    ScanCase{"a3-", 0, -1, {}}, ScanCase{"b3b", 0, -1, {"3"}}, ScanCase{"B12P", 0, -1, {"12"}},
                    ScanCase{"-1-2-3-", 0, -1, {"1", "2", "3"}}, ScanCase{"(7)~5^/3\\", 0, -1, {"7", "5", "3"}},
                    ScanCase{"x3x-4r", 0, -1, {"4"}}, ScanCase{"-\xA0" "3-", 0, -1, {}},
                    ScanCase{"e|-3-|\n|-5-|", 0, -1, {"3", "5"}}, ScanCase{"-3\n-4 ", 0, -1, {}},
                    ScanCase{"3-", 0, -1, {}}, ScanCase{"", 0, -1, {}},
                    // The last character of the range is never part of a fret.
                    ScanCase{"-5-", 0, 1, {}}, ScanCase{"-5-", 0, 2, {"5"}}, ScanCase{"-12-", 0, 2, {}},
                    ScanCase{"-12-", 0, 3, {"12"}}, ScanCase{"-3-12", 0, -1, {"3"}},
                    // The first character of the range only serves as the mark before a fret.
                    ScanCase{"-5-", 1, 2, {}}, ScanCase{"|-5-|-7-|", 2, 8, {"7"}}));

struct TabCase {
  std::string text;
  long steps;
  long mini;
  long maxi;
  std::string expected;

  friend void PrintTo(const TabCase& c, std::ostream* out) {
    *out << '"' << c.text << "\" by " << c.steps << " into [" << c.mini << ", " << c.maxi << ']';
  }
};

class TransposeTabTest : public testing::TestWithParam<TabCase> {};

TEST_P(TransposeTabTest, ReplacesTheRunWithTheFoldedFret) {
  const TabCase& c = GetParam();
  const Transposed result = TransposeTab(c.text, c.steps, c.mini, c.maxi);
  EXPECT_EQ(result.newText, c.expected);
  EXPECT_EQ(result.delta, static_cast<long>(c.expected.size()) - static_cast<long>(c.text.size()));
}

INSTANTIATE_TEST_SUITE_P(
    DefaultWindow, TransposeTabTest,
    testing::Values(TabCase{"14", 3, 0, 15, "5"}, TabCase{"0", -1, 0, 15, "11"}, TabCase{"3", 12, 0, 15, "15"},
                    TabCase{"4", 12, 0, 15, "4"}, TabCase{"10", -2, 0, 15, "8"}, TabCase{"9", 2, 0, 15, "11"},
                    TabCase{"15", 0, 0, 15, "15"}, TabCase{"15", 1, 0, 15, "4"}));

INSTANTIATE_TEST_SUITE_P(
    OtherWindows, TransposeTabTest,
    testing::Values(TabCase{"3", 0, 12, 24, "15"}, TabCase{"30", 0, 12, 24, "18"}, TabCase{"0", -100, 12, 24, "20"},
                    TabCase{"24", 0, 12, 24, "24"}, TabCase{"25", 0, 12, 24, "13"},
                    TabCase{"50", 60, 0, 99, "98"},
                    // Twelve frets are enough to fold; eleven are not.
                    TabCase{"11", 1, 0, 11, "0"}, TabCase{"0", -1, 0, 11, "11"}, TabCase{"11", 1, 0, 10, "12"},
                    // Without folding only negative results move, by the truncating remainder.
                    TabCase{"7", 2, 0, 5, "9"}, TabCase{"20", 5, 0, 5, "25"}, TabCase{"0", -1, 0, 5, "11"},
                    TabCase{"0", -11, 0, 5, "1"}, TabCase{"0", -12, 0, 5, "12"}, TabCase{"0", -13, 0, 5, "11"},
                    TabCase{"0", -24, 0, 10, "12"}, TabCase{"0", -25, 0, 10, "11"},
                    // A negative bound or an inverted window turns folding off as well.
                    TabCase{"0", -1, -1, 15, "11"}, TabCase{"20", 0, -1, 15, "20"}, TabCase{"20", 0, 5, 3, "20"}));

INSTANTIATE_TEST_SUITE_P(
    AtoiReading, TransposeTabTest,
    testing::Values(TabCase{"x", 3, 0, 15, "3"}, TabCase{"x", -1, 0, 15, "11"}, TabCase{"", 0, 0, 15, "0"},
                    TabCase{" 7", 0, 0, 15, "7"}, TabCase{"\t\n 2", 0, 0, 15, "2"}, TabCase{"+5", 1, 0, 15, "6"},
                    TabCase{"-3", 0, 0, 15, "9"}, TabCase{"- 3", 2, 0, 15, "2"}, TabCase{"12abc", 0, 0, 15, "12"},
                    TabCase{"3-4", 0, 0, 15, "3"}, TabCase{"007", 0, 0, 15, "7"}));

// LONG_MAX = 7 and LONG_MIN = 4 (mod 12); results must be exact, not wrapped.
INSTANTIATE_TEST_SUITE_P(
    ExtremeValues, TransposeTabTest,
    testing::Values(TabCase{"0", LONG_MAX, 0, 15, "7"}, TabCase{"0", LONG_MIN, 0, 15, "4"},
                    TabCase{"11", LONG_MAX, 0, 15, "6"}, TabCase{"-1", LONG_MIN, 0, 15, "3"},
                    TabCase{"0", LONG_MIN, 12, 24, "16"}, TabCase{"0", LONG_MIN, 0, 5, "4"},
                    TabCase{"-1", LONG_MIN, 0, 5, "3"},
                    TabCase{"5", 0, LONG_MAX - 11, LONG_MAX, "9223372036854775805"},
                    TabCase{"5", LONG_MAX, 0, LONG_MAX, "9223372036854775800"},
                    TabCase{"5", 0, 1, LONG_MIN, "5"}));

constexpr long kOctaves = 12L * 700000000000000000L;

// Sums beyond the range of long must still fold as the true sum would: two
// step values a multiple of 12 apart that leave the window on the same side
// land on the same fret, also when only one of the sums overflows.
TEST(TransposeTab, HugeDigitRunsAndStepsStayInTheWindowAndKeepTheOctave) {
  const std::vector<std::string> texts = {"0", "99999999999999999999999", "18446744073709551621",
                                          "-99999999999999999999", std::string(100000, '9')};
  const std::vector<std::pair<long, long>> windows = {{0, 15}, {12, 24}, {3, 99}};
  for (const std::string& text : texts) {
    const bool negative = text[0] == '-';
    for (const auto& [mini, maxi] : windows) {
      for (long steps : {LONG_MAX, LONG_MIN}) {
        SCOPED_TRACE(text.substr(0, 30) + " by " + std::to_string(steps) + " into [" + std::to_string(mini) + ", " +
                     std::to_string(maxi) + "]");
        const Transposed result = TransposeTab(text, steps, mini, maxi);
        const long fret = std::stol(result.newText);
        EXPECT_GE(fret, mini);
        EXPECT_LE(fret, maxi);
        EXPECT_EQ(result.delta, static_cast<long>(result.newText.size()) - static_cast<long>(text.size()));
        if ((steps > 0) != negative) {
          const long sameSide = steps > 0 ? steps - kOctaves : steps + kOctaves;
          EXPECT_EQ(TransposeTab(text, sameSide, mini, maxi).newText, result.newText);
        }
      }
    }
  }
}

TEST(TransposeTab, NegativeSumsFarBelowZeroStillUseTheTruncatingRemainder) {
  for (const std::string& text : std::vector<std::string>{"-1", "-99999999999999999999", "-" + std::string(100000, '9')}) {
    SCOPED_TRACE(text.substr(0, 30));
    const std::string atLimit = TransposeTab(text, LONG_MIN, 0, 5).newText;
    const long fret = std::stol(atLimit);
    EXPECT_GE(fret, 1);
    EXPECT_LE(fret, 12);
    EXPECT_EQ(TransposeTab(text, LONG_MIN + kOctaves, 0, 5).newText, atLimit);
  }
}

}  // namespace
}  // namespace sonavel
