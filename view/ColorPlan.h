#pragma once
// What colorizing and transposing decide, apart from any text control: the
// colour every character of a range takes, and what the transposition pass
// writes over one coloured run. The view's commands apply these to a
// control; the command-line tool applies them line by line.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/DocumentOptions.h"
#include "engine/ChordRecognition.h"

namespace sonavel {

enum class ColorRole : std::uint8_t { Text, Chord, Tab };

inline ColorRef RoleColor(ColorRole role, const DocumentOptions& options) {
  switch (role) {
    case ColorRole::Chord: return options.chordcolor;
    case ColorRole::Tab: return options.tabcolor;
    case ColorRole::Text: break;
  }
  return options.textcolor;
}

// A stretch of characters that colorizing paints in a role other than text:
// one chord token, or one fret number that is not part of a chord.
struct PaintedRun {
  TextSpan span;
  ColorRole role = ColorRole::Text;
  friend bool operator==(const PaintedRun&, const PaintedRun&) = default;
};

// The painted runs of the inclusive range of text8 (one byte per position,
// as TextControl::Text8 gives it), in text order and apart from each other;
// every other character of the range is text. Replaces the content of runs.
// A text8 that continues a line starts in that line's bracket state.
void PlanColors(std::string_view text8, TextSpan range, const DocumentOptions& options,
                std::vector<PaintedRun>& runs, BracketState atTextStart = BracketState::Closed);

// What the transposition pass writes over one coloured run: its first
// `length` characters become `text`.
struct RunRewrite {
  long length = 0;        // characters replaced
  std::string_view text;  // what replaces them (ASCII), held by the rewriter
  long delta = 0;         // how much longer the run becomes
  bool isChord = false;
};

// The transposition pass's decisions for one set of options. The new names
// of the twelve roots and the new text of every fret number are worked out
// once, so a run costs a look-up.
class RunRewriter {
 public:
  explicit RunRewriter(const DocumentOptions& options);
  RunRewriter(const RunRewriter&) = delete;
  RunRewriter& operator=(const RunRewriter&) = delete;

  // The rewrite of the run [run.start, run.end] of text8, whose first
  // character has `color`, or nothing when the pass leaves it: another
  // role's run, a role switched off, or a run edited since it was coloured
  // (no longer one whole chord token or one whole fret).
  std::optional<RunRewrite> Rewrite(std::string_view text8, TextSpan run, ColorRef color) const;

  // The same for a run whose shape is already known: whether it is one
  // whole chord token, and whether it is one whole fret number.
  std::optional<RunRewrite> RewriteKnown(std::string_view runText, ColorRef color, bool isWholeChord,
                                         bool isWholeFret) const;

 private:
  static constexpr std::size_t kFretTexts = 110;  // "0" to "9", then "00" to "99"

  DocumentOptions m_options;
  std::array<std::string_view, 12> m_rootNames;  // by pitch class
  std::array<std::string, kFretTexts> m_frets;
};

}  // namespace sonavel
