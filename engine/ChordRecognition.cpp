#include "engine/ChordRecognition.h"

#include <algorithm>

namespace sonavel {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One of the words maj min sus dim add aug starts at p.
bool IsSuffixWordAt(std::string_view token, std::size_t p) {
  if (token.size() - p < 3) return false;
  const char b = token[p + 1];
  const char c = token[p + 2];
  switch (token[p]) {
    case 'm': return (b == 'a' && c == 'j') || (b == 'i' && c == 'n');
    case 's': return b == 'u' && c == 's';
    case 'd': return b == 'i' && c == 'm';
    case 'a': return (b == 'd' && c == 'd') || (b == 'u' && c == 'g');
    default: return false;
  }
}

}  // namespace

bool IsChord(std::string_view token) {
  if (token.empty()) return false;
  const char first = token[0];
  if (first < 'A' || first > 'H') return false;

  std::size_t p = 1;
  while (p < token.size() && (token[p] == '#' || token[p] == 'b' || token[p] == 'x')) ++p;
  if (p == token.size()) return true;

  // An m of its own (minor), not the start of maj or min.
  if (token[p] == 'm' && !IsSuffixWordAt(token, p)) {
    ++p;
    if (p == token.size()) return true;
  }

  while (p < token.size()) {
    if (IsDigit(token[p])) {
      ++p;
    } else if (IsSuffixWordAt(token, p)) {
      p += 3;
    } else {
      return token[p] == '*' && p + 1 == token.size();
    }
  }
  return true;
}

BracketScan::BracketScan(std::string_view text, long from, BracketState atTextStart)
    : m_text(text), m_open(atTextStart == BracketState::Open) {
  // Reading from the line break before `from` (or the start) sets the state.
  const long size = static_cast<long>(text.size());
  if (from > size) from = size;
  const std::size_t lineBreak = from > 0 ? text.rfind('\n', static_cast<std::size_t>(from - 1)) : std::string_view::npos;
  m_next = lineBreak == std::string_view::npos ? 0 : static_cast<long>(lineBreak);
}

bool BracketScan::OpenBefore(long pos) {
  const long limit = std::min(pos, static_cast<long>(m_text.size()));
  for (; m_next < limit; ++m_next) {
    const char c = m_text[static_cast<std::size_t>(m_next)];
    if (c == '[') m_open = true;
    else if (c == ']' || c == '\n') m_open = false;
  }
  return m_open;
}

BracketState BracketStateAfter(std::string_view text, BracketState atStart) {
  const std::size_t last = text.find_last_of("[]\n");
  if (last == std::string_view::npos) return atStart;
  return text[last] == '[' ? BracketState::Open : BracketState::Closed;
}

}  // namespace sonavel
