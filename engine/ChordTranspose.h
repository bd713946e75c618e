#pragma once
// Rewriting the root of one chord name.

#include <string>
#include <string_view>

namespace sonavel {

// The replacement for one coloured run and its length change.
struct Transposed {
  std::string newText;
  long delta = 0;  // newText.size() - original size
};

// Moves the root at the start of text by steps semitones and writes it with
// the names of row `key`; the rest of the text is kept character for
// character. A text that does not start with A-H (or an invalid key) comes
// back unchanged with delta 0.
Transposed TransposeChord(std::string_view text, long steps, int key, bool bIsBess);

}  // namespace sonavel
