#pragma once
// A text control's colours as one letter per position, so that a test can
// state what it expects in a line: 'c' chord colour, 't' tab colour, '.'
// text colour, '?' any other colour (an uncoloured character when the text
// colour differs from the widget's).

#include <string>

#include "document/DocumentOptions.h"
#include "view/TextControl.h"

namespace sonavel::test {

inline std::string ColorMask(const TextControl& control, const DocumentOptions& options) {
  std::string mask;
  const long n = control.Length();
  mask.reserve(static_cast<std::size_t>(n));
  for (long i = 0; i < n; ++i) {
    const ColorRef c = control.ColorAt(i);
    mask += c == options.chordcolor ? 'c' : c == options.tabcolor ? 't' : c == options.textcolor ? '.' : '?';
  }
  return mask;
}

}  // namespace sonavel::test
