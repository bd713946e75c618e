#pragma once
// The coloured views of a song that `sonavel-cli colorize` prints.

#include <string>
#include <vector>

#include "document/DocumentOptions.h"
#include "view/TextControl.h"

namespace sonavel::cli {

enum class RunKind { Chord, Tab };

// A coloured run of characters; positions as in the text control.
struct ColoredRun {
  long start = 0;  // inclusive
  long end = 0;
  RunKind kind = RunKind::Chord;
  friend bool operator==(const ColoredRun&, const ColoredRun&) = default;
};

// The runs of the chord and tab colours of the control, in text order.
std::vector<ColoredRun> CollectColoredRuns(const TextControl& control, const DocumentOptions& options);

// text: UTF-8 with LF line breaks, one position per character.
std::string FormatAnsi(const std::string& text, const std::vector<ColoredRun>& runs, const DocumentOptions& options);
std::string FormatHtml(const std::string& text, const std::vector<ColoredRun>& runs, const std::string& title);
std::string FormatSpans(const std::string& text, const std::vector<ColoredRun>& runs);

}  // namespace sonavel::cli
