#include "dialogs/FontChoice.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "dialogs/SampleLook.h"
#include "document/Settings.h"

namespace sonavel {
namespace {

constexpr int kSmallestPointSize = 1;
constexpr int kLargestPointSize = 1638;
constexpr double kPointsPerInch = 72.0;

// The style of the face nearest to the weight and slant wanted. Qt's
// chooser opens a face whose style it cannot name (such as "Normal" where
// the face calls it "Book") on the face's first style, often an oblique
// one, so that OK alone would turn the text italic. Between equally near
// styles the shortest name is the plainest ("Book", not "Condensed").
QString NearestStyle(const QString& family, int weight, bool italic) {
  QString nearest;
  int nearestDistance = std::numeric_limits<int>::max();
  for (const QString& style : QFontDatabase::styles(family)) {
    if (QFontDatabase::italic(family, style) != italic) continue;
    const int distance = std::abs(QFontDatabase::weight(family, style) - weight);
    if (distance < nearestDistance || (distance == nearestDistance && style.size() < nearest.size())) {
      nearest = style;
      nearestDistance = distance;
    }
  }
  return nearest;
}

}  // namespace

int ShownPointSize(std::int32_t fontSize) {
  return std::clamp<std::int32_t>(fontSize, kSmallestPointSize, kLargestPointSize);
}

QFont ChooserStartFont(const SettingsValues& settings, double dotsPerInchY) {
  QFont font(ResolveFontFamily(settings.font));
  const double pixels = std::round(ShownPointSize(settings.fontSize) * dotsPerInchY / kPointsPerInch);
  font.setPixelSize(std::max(1, static_cast<int>(pixels)));
  font.setWeight(settings.fontBold ? QFont::Bold : QFont::Normal);
  font.setItalic(settings.fontItalic);
  font.setStyleName(NearestStyle(font.family(), font.weight(), settings.fontItalic));
  return font;
}

void TakeChosenFont(const QFont& chosen, SettingsValues& settings) {
  settings.font = chosen.family().toStdString();
  settings.fontBold = chosen.weight() == QFont::Bold;
  settings.fontItalic = chosen.italic();
  // A font given in pixels has its size in points only once it is matched
  // on a screen.
  const double points = chosen.pointSizeF() > 0 ? chosen.pointSizeF() : QFontInfo(chosen).pointSizeF();
  const long tenths = std::lround(points * 10);
  settings.fontSize = static_cast<std::int32_t>(tenths / 10);
}

}  // namespace sonavel
