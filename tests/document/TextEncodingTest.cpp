#include "document/TextEncoding.h"
#include "tests/support/HexBytes.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace sonavel {
namespace {


std::vector<char32_t> DecodeAll(std::string_view bytes) {
  std::vector<char32_t> chars;
  for (std::size_t i = 0; i < bytes.size();) chars.push_back(DecodeUtf8At(bytes, i));
  return chars;
}

TEST(Windows1252, EveryByteHasACharacterThatMapsBack) {
  std::string all;
  for (int b = 0; b < 256; ++b) {
    const char32_t c = Windows1252ToUnicode(static_cast<std::uint8_t>(b));
    EXPECT_EQ(UnicodeToWindows1252(c), b) << "byte " << b;
    all.push_back(static_cast<char>(b));
  }
  const std::string utf8 = Windows1252ToUtf8(all);
  EXPECT_TRUE(IsValidUtf8(utf8));
  EXPECT_EQ(Utf8ToWindows1252(utf8), all);
}

TEST(Windows1252, KnownCharacters) {
  struct Case {
    std::uint8_t byte;
    char32_t c;
  };
  for (const Case& k : {Case{0x41, U'A'}, Case{0x80, U'\u20AC'}, Case{0x81, 0x81}, Case{0x85, U'\u2026'},
                        Case{0x8D, 0x8D}, Case{0x8F, 0x8F}, Case{0x90, 0x90}, Case{0x92, U'\u2019'},
                        Case{0x9D, 0x9D}, Case{0x9F, U'\u0178'}, Case{0xA0, 0xA0}, Case{0xE5, U'\u00E5'},
                        Case{0xFF, U'\u00FF'}}) {
    EXPECT_EQ(Windows1252ToUnicode(k.byte), k.c) << int{k.byte};
  }
}

TEST(Windows1252, CharactersWithoutAByte) {
  for (const char32_t c : {char32_t{0x80}, char32_t{0x82}, char32_t{0x9F}, char32_t{0x100}, U'\u03A9',
                           U'\u20AD', char32_t{0x1F3B8}, char32_t{0x110000}}) {
    EXPECT_EQ(UnicodeToWindows1252(c), -1) << std::hex << static_cast<std::uint32_t>(c);
  }
}

TEST(Windows1252, Utf8ThatCannotBeWindows1252) {
  EXPECT_EQ(Utf8ToWindows1252("s\xC3\xA5ng \xE2\x82\xAC"), std::string("s\xE5ng \x80"));
  EXPECT_EQ(Utf8ToWindows1252("\xCE\xA9"), std::nullopt);
  // Invalid UTF-8 has no Windows-1252 form either, so it is never silently changed.
  EXPECT_EQ(Utf8ToWindows1252("a\xE5"), std::nullopt);
}

struct Utf8Case {
  const char* name;
  std::string bytes;
  bool valid;
  std::vector<char32_t> decoded;
};

std::ostream& operator<<(std::ostream& os, const Utf8Case& c) { return os << c.name; }

constexpr char32_t kR = kReplacementCharacter;

const Utf8Case kUtf8Cases[] = {
    {"Empty", "", true, {}},
    {"Ascii", "Am7", true, {U'A', U'm', U'7'}},
    {"TwoBytes", "\xC3\xA5", true, {0xE5}},
    {"ThreeBytes", "\xE2\x82\xAC", true, {0x20AC}},
    {"FourBytes", "\xF0\x9F\x8E\xB8", true, {0x1F3B8}},
    {"Highest", "\xF4\x8F\xBF\xBF", true, {0x10FFFF}},
    {"LongAsciiThenLetter", "abcdefghijklmnop\xC3\xA5", true, {}},
    {"Nul", std::string("a\0b", 3), true, {U'a', 0, U'b'}},
    {"Truncated", "\xC3", false, {kR}},
    {"TruncatedThree", "\xE2\x82", false, {kR, kR}},
    {"LoneContinuation", "\x80", false, {kR}},
    {"MissingContinuation", "\xC3" "A", false, {kR, U'A'}},
    {"OverlongNul", "\xC0\x80", false, {kR, kR}},
    {"OverlongTwo", "\xC1\xBF", false, {kR, kR}},
    {"OverlongThree", "\xE0\x80\xAF", false, {kR, kR, kR}},
    {"OverlongFour", "\xF0\x80\x80\xAF", false, {kR, kR, kR, kR}},
    {"Surrogate", "\xED\xA0\x80", false, {kR, kR, kR}},
    {"AboveUnicode", "\xF4\x90\x80\x80", false, {kR, kR, kR, kR}},
    {"FiveByteLead", "\xF8\x88\x80\x80\x80", false, {kR, kR, kR, kR, kR}},
    {"ByteFF", "\xFF", false, {kR}},
    {"BadByteInsideFastPath", "abcdefg\xE5hijklmnop", false, {}},
    {"BadByteAfterFastPath", "abcdefghijklmnop\xE5", false, {}},
};

class Utf8Table : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Table, ValidityAndDecoding) {
  const Utf8Case& c = GetParam();
  EXPECT_EQ(IsValidUtf8(c.bytes), c.valid);
  if (!c.decoded.empty()) {
    EXPECT_EQ(DecodeAll(c.bytes), c.decoded);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, Utf8Table, ::testing::ValuesIn(kUtf8Cases),
                         [](const auto& info) { return std::string(info.param.name); });

// IsValidUtf8 and DecodeUtf8At must agree on what is valid, or the reader's
// fast path and its careful path would give different text.
TEST(Utf8, ValidityAgreesWithDecodingOnRandomBytes) {
  std::mt19937 rng(7);
  const unsigned char alphabet[] = {'a', 0x00, 0x7F, 0x80, 0xBF, 0xC0, 0xC2, 0xC3, 0xDF, 0xE0, 0xE2, 0xED,
                                    0xEF, 0xF0, 0xF4, 0xF5, 0xFF, 0x82, 0xA0, 0x9F, 0x8F, 0x90};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof alphabet - 1);
  std::uniform_int_distribution<int> length(0, 12);
  for (int round = 0; round < 20000; ++round) {
    std::string bytes(static_cast<std::size_t>(length(rng)), '\0');
    for (char& b : bytes) b = static_cast<char>(alphabet[pick(rng)]);
    bool decodesCleanly = true;
    std::string reencoded;
    for (std::size_t i = 0; i < bytes.size();) {
      const std::size_t start = i;
      const char32_t c = DecodeUtf8At(bytes, i);
      if (c == kReplacementCharacter && i - start == 1) decodesCleanly = false;
      AppendUtf8(reencoded, c);
    }
    ASSERT_EQ(IsValidUtf8(bytes), decodesCleanly) << Hex(bytes);
    if (decodesCleanly) {
      ASSERT_EQ(reencoded, bytes) << Hex(bytes);
    }
  }
}

TEST(Utf8, EncodingAtEveryLengthBoundary) {
  struct Case {
    char32_t c;
    const char* hex;
  };
  for (const Case& k : {Case{0x00, "00"}, Case{0x7F, "7F"}, Case{0x80, "C2 80"}, Case{0x7FF, "DF BF"},
                        Case{0x800, "E0 A0 80"}, Case{0xFFFD, "EF BF BD"}, Case{0xFFFF, "EF BF BF"},
                        Case{0x10000, "F0 90 80 80"}, Case{0x10FFFF, "F4 8F BF BF"},
                        // Not characters: written as the replacement character.
                        Case{0xD800, "EF BF BD"}, Case{0xDFFF, "EF BF BD"}, Case{0x110000, "EF BF BD"}}) {
    std::string out;
    AppendUtf8(out, k.c);
    EXPECT_EQ(Hex(out), k.hex) << std::hex << static_cast<std::uint32_t>(k.c);
  }
}

TEST(Utf8, EveryCharacterRoundTrips) {
  for (char32_t c = 0; c <= 0x10FFFF; c += (c < 0x3000 ? 1 : 97)) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    std::string out;
    AppendUtf8(out, c);
    ASSERT_TRUE(IsValidUtf8(out)) << std::hex << static_cast<std::uint32_t>(c);
    std::size_t i = 0;
    ASSERT_EQ(DecodeUtf8At(out, i), c);
    ASSERT_EQ(i, out.size());
  }
}

}  // namespace
}  // namespace sonavel
