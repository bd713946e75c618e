#include "engine/ChordRecognition.h"

#include <array>

namespace sonavel {
namespace {

constexpr std::array<bool, 256> MakeSeparatorSet() {
  std::array<bool, 256> set{};
  for (unsigned char c : std::string_view(" \t/[]\r\n(),.'<>{}")) set[c] = true;
  set[0xA0] = true;
  return set;
}
constexpr std::array<bool, 256> kSeparators = MakeSeparatorSet();

constexpr std::array<std::string_view, 6> kSuffixWords = {"maj", "min", "sus", "dim", "add", "aug"};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool IsSeparator(unsigned char c) { return kSeparators[c]; }

std::optional<TextSpan> NextToken(std::string_view text, long from, long to) {
  if (from > to || from < 0) return std::nullopt;
  const long last = static_cast<long>(text.size()) - 1;
  if (to > last) to = last;
  long start = from;
  while (start <= to && IsSeparator(text[static_cast<std::size_t>(start)])) ++start;
  if (start > to) return std::nullopt;
  long end = start;
  while (end < to && !IsSeparator(text[static_cast<std::size_t>(end + 1)])) ++end;
  return TextSpan{start, end};
}

bool IsChord(std::string_view token) {
  if (token.empty()) return false;
  const char first = token[0];
  if (first < 'A' || first > 'H') return false;

  std::size_t p = 1;
  while (p < token.size() && (token[p] == '#' || token[p] == 'b' || token[p] == 'x')) ++p;
  if (p == token.size()) return true;

  if (token[p] == 'm') {
    const std::string_view three = token.substr(p, 3);
    if (three != "maj" && three != "min") {
      ++p;
      if (p == token.size()) return true;
    }
  }

  while (p < token.size()) {
    if (IsDigit(token[p])) {
      ++p;
      continue;
    }
    const std::string_view three = token.substr(p, 3);
    bool word = false;
    for (std::string_view w : kSuffixWords) {
      if (three == w) {
        word = true;
        break;
      }
    }
    if (word) {
      p += 3;
      continue;
    }
    return three == "*";
  }
  return true;
}

bool IsInBrackets(std::string_view text, long pos) {
  if (pos <= 0) return false;
  long p = pos - 1;
  if (p >= static_cast<long>(text.size())) p = static_cast<long>(text.size()) - 1;
  for (; p >= 0; --p) {
    const char c = text[static_cast<std::size_t>(p)];
    if (c == '[') return true;
    if (c == ']' || c == '\n') return false;
  }
  return false;
}

}  // namespace sonavel
