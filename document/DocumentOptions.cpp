#include "document/DocumentOptions.h"

#include "document/Settings.h"

namespace sonavel {

DocumentOptions DocumentOptions::FromSettings(const CSettings& settings) {
  DocumentOptions options;
  options.textcolor = settings.textcolor;
  options.chordcolor = settings.chordcolor;
  options.tabcolor = settings.tabcolor;
  options.backgroundcolor = settings.backgroundcolor;
  options.font = settings.font;
  options.transpose = settings.TransposeDefaults();
  options.chordInBrackets = settings.chordInBrackets;
  options.useSystemBackground = settings.useSystemBackground;
  options.fontBold = settings.fontBold;
  options.fontItalic = settings.fontItalic;
  return options;
}

}  // namespace sonavel
