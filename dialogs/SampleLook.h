#pragma once
// How the Transpose dialog's sample looks: the colours, font face and
// effects of the settings record, gathered so that the sample can also be
// shown (and tested) with any given look.

#include <QColor>
#include <QString>
#include <string>

#include "dialogs/TransposeSample.h"
#include "document/ColorRef.h"

namespace sonavel {

struct SampleLook {
  ColorRef textcolor = kDefaultTextColor;
  ColorRef chordcolor = kDefaultChordColor;
  ColorRef tabcolor = kDefaultTabColor;
  ColorRef backgroundcolor = kDefaultBackgroundColor;
  bool useSystemBackground = true;
  std::string font = "Fixedsys";
  bool fontBold = false;
  bool fontItalic = false;

  // The look the program-wide settings give right now.
  static SampleLook FromSettings();
};

QColor ToQColor(ColorRef color);

// The colour a sample shows a run of `role` in.
QColor SampleRoleColor(SampleRole role, ColorRef text, ColorRef chord, ColorRef tab);

// The family to show text in: the face itself when the system has it,
// otherwise the system's fixed-pitch font, so that chords stay above their
// syllables. The stored face name is left as it is.
QString ResolveFontFamily(const std::string& face);

}  // namespace sonavel
