#include "dialogs/SampleLook.h"

#include <QFontDatabase>

#ifdef SONAVEL_HAVE_SETTINGS
#include "document/Settings.h"
#endif

namespace sonavel {

SampleLook SampleLook::FromSettings() {
  SampleLook look;
#ifdef SONAVEL_HAVE_SETTINGS
  const CSettings& settings = theSettings();
  look.textcolor = settings.textcolor;
  look.chordcolor = settings.chordcolor;
  look.tabcolor = settings.tabcolor;
  look.backgroundcolor = settings.backgroundcolor;
  look.useSystemBackground = settings.useSystemBackground;
  look.font = settings.font;
  look.fontBold = settings.fontBold;
  look.fontItalic = settings.fontItalic;
#endif
  return look;
}

QColor ToQColor(ColorRef color) {
  return QColor(static_cast<int>(RedOf(color)), static_cast<int>(GreenOf(color)), static_cast<int>(BlueOf(color)));
}

QColor SampleRoleColor(SampleRole role, ColorRef text, ColorRef chord, ColorRef tab) {
  switch (role) {
    case SampleRole::Chord:
      return ToQColor(chord);
    case SampleRole::Tab:
      return ToQColor(tab);
    case SampleRole::Text:
      break;
  }
  return ToQColor(text);
}

QString ResolveFontFamily(const std::string& face) {
  const QString family = QString::fromStdString(face);
  if (!family.isEmpty() && QFontDatabase::hasFamily(family)) return family;
  return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

}  // namespace sonavel
