#pragma once
// The main window's size, position and show state, kept in the profile
// section "Winpos" as "Status" (1 normal, 2 minimised, 3 maximised) and the
// edges "Top", "Left", "Bottom" and "Right" of the normal rectangle, in
// work-area coordinates.

#include <QList>
#include <QRect>
#include <QSize>
#include <optional>

class QWidget;
namespace sonavel {
class CProfile;
}

// What the screens are like when the window opens.
struct ScreenFacts {
  QRect workArea;       // the primary screen less its panels, in screen coordinates
  QSize screenSize;     // of the primary screen
  QSize iconSize;       // a large icon's
  QList<QRect> screens; // every screen's geometry

  static ScreenFacts OfThisDesktop();
};

struct Placement {
  std::optional<QRect> geometry;       // none: the default place and size
  std::optional<bool> maximised;       // none: as the program was started
};

class CWindowPlacement {
 public:
  static constexpr const char* kSection = "Winpos";

  // A window may start partly left of or above the screen, but no further
  // right or down than a large icon's size from the screen's far edges. A
  // rectangle of no area, or one no screen shows, is no placement: a damaged
  // profile never makes a window that cannot be used.
  static Placement Restore(const sonavel::CProfile& profile, const ScreenFacts& screens);
  static void Save(sonavel::CProfile& profile, const QWidget& window, const ScreenFacts& screens);
};
