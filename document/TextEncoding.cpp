#include "document/TextEncoding.h"

#include <array>

namespace sonavel {
namespace {

// 0x80..0x9F; the other bytes are their own code points.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

char32_t Windows1252ToUnicode(std::uint8_t byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
  return byte;
}

int UnicodeToWindows1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  // Every other character of the code page lies below the trade mark sign;
  // scripts beyond it (Greek, Cyrillic, Hebrew...) are not searched for.
  if (c > 0x2122 || (c >= 0x300 && c < 0x2000)) return -1;
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == c) return static_cast<int>(0x80 + i);
  }
  return -1;
}

bool IsAscii(std::string_view bytes) {
  const char* p = bytes.data();
  const char* const end = p + bytes.size();
  for (; end - p >= 8; p += 8) {
    std::uint64_t word;
    __builtin_memcpy(&word, p, 8);
    if (word & 0x8080808080808080ULL) return false;
  }
  for (; p < end; ++p) {
    if (static_cast<unsigned char>(*p) >= 0x80) return false;
  }
  return true;
}

bool IsValidUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* end = p + bytes.size();
  while (p < end) {
    // Fast path over ASCII, eight bytes at a time.
    while (end - p >= 8) {
      std::uint64_t word;
      __builtin_memcpy(&word, p, 8);
      if (word & 0x8080808080808080ULL) break;
      p += 8;
    }
    if (p >= end) break;
    const unsigned char c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    int extra;
    char32_t min;
    if ((c & 0xE0) == 0xC0) { extra = 1; min = 0x80; }
    else if ((c & 0xF0) == 0xE0) { extra = 2; min = 0x800; }
    else if ((c & 0xF8) == 0xF0) { extra = 3; min = 0x10000; }
    else return false;
    if (end - p <= extra) return false;
    char32_t cp = c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      if ((p[k] & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (p[k] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    p += extra + 1;
  }
  return true;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacementCharacter;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

char32_t DecodeUtf8At(std::string_view bytes, std::size_t& i) {
  const auto c = static_cast<unsigned char>(bytes[i]);
  if (c < 0x80) {
    ++i;
    return c;
  }
  int extra;
  char32_t min;
  if ((c & 0xE0) == 0xC0) { extra = 1; min = 0x80; }
  else if ((c & 0xF0) == 0xE0) { extra = 2; min = 0x800; }
  else if ((c & 0xF8) == 0xF0) { extra = 3; min = 0x10000; }
  else { ++i; return kReplacementCharacter; }
  if (bytes.size() - i <= static_cast<std::size_t>(extra)) { ++i; return kReplacementCharacter; }
  char32_t cp = c & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    const auto cc = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
    if ((cc & 0xC0) != 0x80) { ++i; return kReplacementCharacter; }
    cp = (cp << 6) | (cc & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) { ++i; return kReplacementCharacter; }
  i += static_cast<std::size_t>(extra) + 1;
  return cp;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (char b : bytes) AppendUtf8(out, Windows1252ToUnicode(static_cast<std::uint8_t>(b)));
  return out;
}

std::optional<std::string> Utf8ToWindows1252(std::string_view utf8) {
  // Song text is mostly ASCII: copy its runs whole and convert the rest one
  // character at a time. Invalid UTF-8 decodes to U+FFFD, which has no byte.
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    std::size_t runEnd = i;
    while (runEnd < utf8.size() && static_cast<unsigned char>(utf8[runEnd]) < 0x80) ++runEnd;
    out.append(utf8, i, runEnd - i);
    i = runEnd;
    if (i == utf8.size()) break;
    const int b = UnicodeToWindows1252(DecodeUtf8At(utf8, i));
    if (b < 0) return std::nullopt;
    out.push_back(static_cast<char>(b));
  }
  return out;
}

}  // namespace sonavel
