#pragma once

#include <string>

#include "document/ColorRef.h"
#include "engine/TransposeOptions.h"

namespace sonavel {

class CSettings;

// A document's own copy of the display and transposing options, taken from
// the settings record when the document is created. The view and its
// commands read and change only this copy.
struct DocumentOptions {
  ColorRef textcolor = kDefaultTextColor;
  ColorRef chordcolor = kDefaultChordColor;
  ColorRef tabcolor = kDefaultTabColor;
  ColorRef backgroundcolor = kDefaultBackgroundColor;
  std::string font = "Fixedsys";
  TransposeOptions transpose;  // steps, key, bIsBess, transposeChords, transposeTabs, tabMiniValue, tabMaxValue
  bool chordInBrackets = false;
  bool useSystemBackground = true;
  bool fontBold = false;
  bool fontItalic = false;

  // The copy a new document takes.
  static DocumentOptions FromSettings(const CSettings& settings);

  friend bool operator==(const DocumentOptions&, const DocumentOptions&) = default;
};

}  // namespace sonavel
