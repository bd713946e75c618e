#pragma once
// The Settings dialog's sample: headings, the twelve chord names of the key
// of C and the frets 0 to 12, each in the colour of its role.

#include <string_view>
#include <vector>

#include "dialogs/TransposeSample.h"

class QTextEdit;

namespace sonavel {

struct SettingsValues;

// The sample as coloured runs, in order. The headings are inserted as they
// are given (the caller translates them).
std::vector<SampleRun> BuildSettingsSample(std::string_view chordsHeading, std::string_view tabsHeading);

// Replaces the text of `sample` with the translated sample in the colours,
// face, size, effects and background of `look`, as a document would show
// them.
void PaintSettingsSample(QTextEdit& sample, const SettingsValues& look);

}  // namespace sonavel
