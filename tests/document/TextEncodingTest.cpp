#include "document/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/HexBytes.h"

namespace sonavel {
namespace {

// The five bytes Windows-1252 leaves undefined come back too, so that any
// 8-bit file survives being opened and saved.
TEST(Windows1252, EveryByteMapsToACharacterAndBack) {
  std::string all;
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(UnicodeToWindows1252(Windows1252ToUnicode(static_cast<std::uint8_t>(b))), b) << "byte " << b;
    all.push_back(static_cast<char>(b));
  }
  EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(all)), all);
}

// Overlong, a surrogate, beyond U+10FFFF, no lead, cut short: no byte of
// these starts a character (the reader's tables hold the damage that leaves
// some). Each is checked as a view followed by continuation bytes, which a
// check that looks one byte too far would take for part of it; and behind
// ASCII of every length around the eight-byte word the validity check skips
// at a time.
TEST(Utf8, InvalidSequencesGiveOneReplacementCharacterPerByte) {
  for (const char* hex : {"C1 BF", "E0 9F BF", "F0 8F BF BF", "ED A0 80", "ED BF BF", "F4 90 80 80", "F8 88 80 80 80",
                          "FF", "C3", "F0 9F 8E"}) {
    const std::string bytes = FromHex(hex);
    for (const std::size_t ascii : {0, 7, 8, 9}) {
      const std::string buffer = std::string(ascii, 'a') + bytes + "\x80\x80\x80";
      EXPECT_FALSE(IsValidUtf8(std::string_view(buffer).substr(0, ascii + bytes.size()))) << hex << " after " << ascii;
      const std::string_view view = std::string_view(buffer).substr(ascii, bytes.size());
      std::vector<char32_t> chars;
      for (std::size_t i = 0; i < view.size();) chars.push_back(DecodeUtf8At(view, i));
      EXPECT_EQ(chars, std::vector<char32_t>(bytes.size(), kReplacementCharacter)) << hex << " after " << ascii;
    }
  }
}

}  // namespace
}  // namespace sonavel
