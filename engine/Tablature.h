#pragma once
// Fret numbers of guitar tablature and their transposition.

#include <optional>
#include <string_view>

#include "engine/ChordRecognition.h"
#include "engine/ChordTranspose.h"

namespace sonavel {

// - ^ ( ) ~ | / \ h p r b H P R B
bool IsTabChar(unsigned char c);
inline bool IsTabChar(char c) { return IsTabChar(static_cast<unsigned char>(c)); }

// The first fret number found by the fret scan of the inclusive range
// [s, e], starting its candidates at `from` (s + 1 for a fresh scan).
// A fret is a run of one or two digits with a tablature character on both
// sides; a run that reaches e ends the scan, so a fret just before the end
// of the range is not found.
std::optional<TextSpan> NextFret(std::string_view text, long from, long e);

// Calls f(span) for every fret number in [s, e], in text order.
template <typename F>
void ScanFrets(std::string_view text, long s, long e, F&& f) {
  long pos = s + 1;
  while (auto fret = NextFret(text, pos, e)) {
    f(*fret);
    pos = fret->end + 1;
  }
}

// Reads text as atoi does, adds steps and folds the result into
// [tabMiniValue, tabMaxValue] when that window holds at least 12 frets;
// otherwise only negative results are brought up by the truncating rule.
Transposed TransposeTab(std::string_view text, long steps, long tabMiniValue, long tabMaxValue);

}  // namespace sonavel
