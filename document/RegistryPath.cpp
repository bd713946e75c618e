#include "document/RegistryPath.h"

#include <cstddef>

namespace sonavel {

namespace {

// Lower-cases the letters that have a simple one-to-one case pair, as the
// registry's comparison does. Every mapped pair lies below U+0800, so a
// 2-byte UTF-8 sequence stays 2 bytes and folding keeps every byte offset.
char32_t FoldCodePoint(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 0x20;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
    return c | 1;
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c + 1 : c;
  if (c == 0x178) return 0xFF;
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  return c;
}

}  // namespace

std::string FoldCase(std::string_view text) {
  std::string folded(text);
  for (std::size_t i = 0; i < folded.size(); ++i) {
    const auto lead = static_cast<unsigned char>(folded[i]);
    if (lead < 0x80) {
      folded[i] = static_cast<char>(FoldCodePoint(lead));
      continue;
    }
    if ((lead & 0xE0) != 0xC0 || i + 1 >= folded.size()) continue;
    const auto trail = static_cast<unsigned char>(folded[i + 1]);
    if ((trail & 0xC0) != 0x80) continue;
    const char32_t c = (char32_t{lead & 0x1Fu} << 6) | (trail & 0x3Fu);
    if (c < 0x80) continue;  // overlong: not a letter of ours, keep the bytes
    const char32_t lower = FoldCodePoint(c);
    folded[i] = static_cast<char>(0xC0 | (lower >> 6));
    folded[i + 1] = static_cast<char>(0x80 | (lower & 0x3F));
    ++i;
  }
  return folded;
}

bool IsValidRegistryPath(std::string_view path) {
  if (path.empty()) return true;
  return path.front() != '\\' && path.back() != '\\' && path.find("\\\\") == std::string_view::npos;
}

}  // namespace sonavel
