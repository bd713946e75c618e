// The in-memory control: positions, the engine's projection and formats.

#include <gtest/gtest.h>

#include "view/MemoryTextControl.h"

namespace sonavel {
namespace {

TEST(MemoryTextControl, OnePositionPerCharacterAndLineBreak) {
  const struct {
    const char* input;
    const char* text;   // Text() afterwards
    const char* text8;  // the engine's projection
  } rows[] = {
      {"a\r\nb\rc\nd", "a\nb\nc\nd", "a\nb\nc\nd"},
      {"\xC3\xA5 \xE2\x82\xAC C\xC2\xA0G", "\xC3\xA5 \xE2\x82\xAC C\xC2\xA0G", "\xE5 \x80 C\xA0G"},
      {"A\xE4\xB8\xAD\xF0\x9F\x8E\xB8", "A\xE4\xB8\xAD\xF0\x9F\x8E\xB8", "A\x7F\x7F"},  // beyond Windows-1252
      {"\xC2\x81\xC2\x9D", "\xC2\x81\xC2\x9D", "\x81\x9D"},  // the bytes Windows-1252 leaves undefined
  };
  for (const auto& row : rows) {
    MemoryTextControl control;
    control.SetText(row.input);
    EXPECT_EQ(control.Text(), row.text);
    EXPECT_EQ(control.Text8(), row.text8);
    EXPECT_EQ(control.Length(), static_cast<long>(std::string(row.text8).size()));
  }
}

TEST(MemoryTextControl, HundredsOfColoursOverTimeAreKeptApart) {
  MemoryTextControl control;
  control.SetText("ab");
  for (ColorRef c = 1; c <= 600; ++c) control.SetColor(0, 1, c);
  control.SetColor(1, 2, 7);
  EXPECT_EQ(control.ColorAt(0), 600u);
  EXPECT_EQ(control.ColorAt(1), 7u);
}

}  // namespace
}  // namespace sonavel
