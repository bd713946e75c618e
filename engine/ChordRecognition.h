#pragma once
// Which tokens of a song text are chord names.

#include <optional>
#include <string_view>

namespace sonavel {

// Inclusive index pair into a text.
struct TextSpan {
  long start = 0;
  long end = -1;
  friend bool operator==(const TextSpan&, const TextSpan&) = default;
};

// Space, tab, / [ ] CR LF ( ) , . ' < > { } and 0xA0 (Windows-1252 no-break space).
bool IsSeparator(unsigned char c);
inline bool IsSeparator(char c) { return IsSeparator(static_cast<unsigned char>(c)); }

// The next maximal run of non-separators within [from, to] (to inclusive and
// below text.size()); a token running on past `to` is cut at `to`.
std::optional<TextSpan> NextToken(std::string_view text, long from, long to);

// A letter A-H, any accidentals (# b x), an optional m that does not start
// "maj"/"min", then any sequence of digits and the words maj min sus dim add
// aug, optionally ending in one asterisk. Exact and case-sensitive.
bool IsChord(std::string_view token);

// True when an opening "[" stands before pos on the same line with no "]"
// between them.
bool IsInBrackets(std::string_view text, long pos);

}  // namespace sonavel
