#include "shell/WindowPlacement.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <array>

#include "document/Profile.h"

namespace {

constexpr int kMissing = -1;
constexpr int kNormal = 1;
constexpr int kMinimised = 2;
constexpr int kMaximised = 3;

}  // namespace

ScreenFacts ScreenFacts::OfThisDesktop() {
  ScreenFacts facts;
  if (const QScreen* primary = QGuiApplication::primaryScreen()) {
    facts.workArea = primary->availableGeometry();
    facts.screenSize = primary->geometry().size();
  }
  const int icon = QApplication::style()->pixelMetric(QStyle::PM_LargeIconSize);
  facts.iconSize = QSize(icon, icon);
  for (const QScreen* screen : QGuiApplication::screens()) facts.screens << screen->geometry();
  return facts;
}

Placement CWindowPlacement::Restore(const sonavel::CProfile& profile, const ScreenFacts& screens) {
  // Read in this order, stopping at the first missing value.
  std::array<int, 5> values{};
  const std::array<const char*, 5> names = {"Status", "Top", "Left", "Bottom", "Right"};
  for (std::size_t i = 0; i < names.size(); ++i) {
    values[i] = profile.GetInt(kSection, names[i], kMissing);
    if (values[i] == kMissing) return {};
  }
  const auto [status, top, left, bottom, right] = values;
  Placement placement;
  if (status == kNormal || status == kMaximised) placement.maximised = status == kMaximised;

  const QSize size(right - left, bottom - top);
  const int x = std::min(left + screens.workArea.left(), screens.screenSize.width() - screens.iconSize.width());
  const int y = std::min(top + screens.workArea.top(), screens.screenSize.height() - screens.iconSize.height());
  const QRect geometry(QPoint(x, y), size);
  const bool shown = std::any_of(screens.screens.begin(), screens.screens.end(),
                                 [&geometry](const QRect& screen) { return screen.intersects(geometry); });
  if (size.width() > 0 && size.height() > 0 && shown) placement.geometry = geometry;
  return placement;
}

void CWindowPlacement::Save(sonavel::CProfile& profile, const QWidget& window, const ScreenFacts& screens) {
  const QRect normal = window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry();
  const QRect stored = normal.translated(-screens.workArea.topLeft());
  const int status = window.isMaximized() ? kMaximised : window.isMinimized() ? kMinimised : kNormal;
  profile.WriteInt(kSection, "Status", status);
  profile.WriteInt(kSection, "Top", stored.top());
  profile.WriteInt(kSection, "Left", stored.left());
  profile.WriteInt(kSection, "Bottom", stored.top() + stored.height());
  profile.WriteInt(kSection, "Right", stored.left() + stored.width());
}
