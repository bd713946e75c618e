#pragma once
// Between the font fields of the settings and the system's font chooser.

#include <QFont>
#include <cstdint>

namespace sonavel {

struct SettingsValues;

// The size, in points, that text with the stored size is shown at. The
// stored size may be any number; a text control takes only sizes from 1 to
// 1638 points.
int ShownPointSize(std::int32_t fontSize);

// The font the chooser starts on: the face the user sees (a face this
// machine lacks is shown in its fallback), a character height in pixels
// from the stored size and the screen's resolution, bold as weight 700,
// and italic. Nothing else is set.
QFont ChooserStartFont(const SettingsValues& settings, double dotsPerInchY);

// Takes the chooser's font into the settings: the face name whole, bold
// only for a weight of exactly 700, italic, and the size in whole points
// with any fraction dropped.
void TakeChosenFont(const QFont& chosen, SettingsValues& settings);

}  // namespace sonavel
