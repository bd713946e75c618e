// The in-memory control: positions, projection and formats.

#include <gtest/gtest.h>

#include "view/MemoryTextControl.h"

namespace sonavel {
namespace {

struct TextCase {
  const char* name;
  const char* input;
  const char* text;   // Text() afterwards
  const char* text8;  // the engine's projection
};

class MemoryTextControlText : public ::testing::TestWithParam<TextCase> {};

TEST_P(MemoryTextControlText, OnePositionPerCharacterAndLineBreak) {
  const TextCase& c = GetParam();
  MemoryTextControl control;
  control.SetText(c.input);
  EXPECT_EQ(control.Text(), c.text);
  EXPECT_EQ(control.Text8(), c.text8);
  EXPECT_EQ(control.Length(), static_cast<long>(std::string(c.text8).size()));
}

const TextCase kTextCases[] = {
    {"LineEndsBecomeOneBreak", "a\r\nb\rc\nd", "a\nb\nc\nd", "a\nb\nc\nd"},
    {"LatinLettersProjectToTheirByte", "\xC3\xA5 \xE2\x82\xAC", "\xC3\xA5 \xE2\x82\xAC", "\xE5 \x80"},
    {"OtherCharactersProjectToDel", "A\xE4\xB8\xAD\xF0\x9F\x8E\xB8", "A\xE4\xB8\xAD\xF0\x9F\x8E\xB8", "A\x7F\x7F"},
    {"NoBreakSpaceIsKept", "C\xC2\xA0G", "C\xC2\xA0G", "C\xA0G"},
    {"UndefinedWindows1252BytesRoundTrip", "\xC2\x81\xC2\x9D", "\xC2\x81\xC2\x9D", "\x81\x9D"},
};

INSTANTIATE_TEST_SUITE_P(Text, MemoryTextControlText, ::testing::ValuesIn(kTextCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MemoryTextControl, ReplacementTakesTheFormatOfTheFirstReplacedCharacter) {
  MemoryTextControl control(0x111111);
  control.SetText("abcdef");
  control.SetColor(1, 3, 0x00FF0000);
  control.Replace(1, 2, "XYZ");
  EXPECT_EQ(control.Text(), "aXYZcdef");
  for (long p = 1; p <= 4; ++p) EXPECT_EQ(control.ColorAt(p), 0x00FF0000u) << p;
  EXPECT_EQ(control.ColorAt(5), 0x111111u);
  // At a caret the inserted text continues the character before it.
  control.Replace(6, 6, "!");  // after the uncoloured d
  EXPECT_EQ(control.ColorAt(6), 0x111111u);
  control.Replace(5, 5, "?");  // after the coloured c
  EXPECT_EQ(control.ColorAt(5), 0x00FF0000u);
}

TEST(MemoryTextControl, ManyEditsAcrossTheTextKeepItConsistent) {
  std::string expected;
  MemoryTextControl control;
  for (int i = 0; i < 2000; ++i) expected += "C G ";
  control.SetText(expected);
  // Grow every C as the transposition pass would, front to back.
  std::string grown;
  for (int i = 0; i < 2000; ++i) grown += "C# G ";
  for (long pos = 0, i = 0; i < 2000; ++i, pos += 5) control.Replace(pos, pos + 1, "C#");
  EXPECT_EQ(control.Text(), grown);
  // Then edit back to front, which moves the gap the other way.
  for (long i = 1999; i >= 0; --i) control.Replace(i * 5, i * 5 + 2, "C");
  EXPECT_EQ(control.Text(), expected);
}

TEST(MemoryTextControl, SameColorEndStopsAtChangeAndLimit) {
  MemoryTextControl control;
  control.SetText("aaaabbbb");
  control.SetColor(4, 8, 5);
  EXPECT_EQ(control.SameColorEnd(0, 7), 3);
  EXPECT_EQ(control.SameColorEnd(1, 2), 2);
  EXPECT_EQ(control.SameColorEnd(4, 100), 7);
}

TEST(MemoryTextControl, HundredsOfColoursOverTimeAreKeptApart) {
  MemoryTextControl control;
  control.SetText("ab");
  for (ColorRef c = 1; c <= 600; ++c) control.SetColor(0, 1, c);
  control.SetColor(1, 2, 7);
  EXPECT_EQ(control.ColorAt(0), 600u);
  EXPECT_EQ(control.ColorAt(1), 7u);
}

TEST(MemoryTextControl, SelectionIsClampedAndOrdered) {
  MemoryTextControl control;
  control.SetText("abc");
  control.SetSel(5, 1);
  EXPECT_EQ(control.GetSel(), (Selection{1, 3}));
  control.SetSel(0, -1);
  EXPECT_EQ(control.GetSel(), (Selection{0, 3}));
}

}  // namespace
}  // namespace sonavel
