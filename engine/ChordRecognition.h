#pragma once
// Which tokens of a song text are chord names.

#include <array>
#include <string_view>

namespace sonavel {

// Inclusive index pair into a text.
struct TextSpan {
  long start = 0;
  long end = -1;
  friend bool operator==(const TextSpan&, const TextSpan&) = default;
};

namespace detail {
constexpr std::array<bool, 256> MakeSeparatorSet() {
  std::array<bool, 256> set{};
  for (unsigned char c : std::string_view(" \t/[]\r\n(),.'<>{}")) set[c] = true;
  set[0xA0] = true;
  return set;
}
inline constexpr std::array<bool, 256> kSeparators = MakeSeparatorSet();
}  // namespace detail

// Space, tab, / [ ] CR LF ( ) , . ' < > { } and 0xA0 (Windows-1252 no-break space).
inline bool IsSeparator(unsigned char c) { return detail::kSeparators[c]; }
inline bool IsSeparator(char c) { return IsSeparator(static_cast<unsigned char>(c)); }

// A letter A-H, any accidentals (# b x), an optional m that does not start
// "maj"/"min", then any sequence of digits and the words maj min sus dim add
// aug, optionally ending in one asterisk. Exact and case-sensitive.
bool IsChord(std::string_view token);

// Whether a "[" stands open: read up to a place on its line, no "]" since.
enum class BracketState { Closed, Open };

// Whether an opening "[" stands before a position on the same line with no
// "]" between them. Asked for positions in increasing order, it reads each
// character once, so a pass over a long line stays linear.
class BracketScan {
 public:
  // The scan starts on the line that holds `from`. A text that continues a
  // line handed on in segments starts with that line's state so far.
  explicit BracketScan(std::string_view text, long from = 0, BracketState atTextStart = BracketState::Closed);
  // pos must not be below the pos of an earlier call. A position beyond the
  // text looks back from its last character.
  bool OpenBefore(long pos);

 private:
  std::string_view m_text;
  long m_next = 0;  // the first character not read yet
  bool m_open = false;
};

// The state after the whole of `text`, which starts in `atStart`.
BracketState BracketStateAfter(std::string_view text, BracketState atStart);

}  // namespace sonavel
