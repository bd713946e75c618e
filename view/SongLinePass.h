#pragma once
// Colorizing and transposing one line at a time (a long line in segments),
// for texts too long to hold in a text control. Chords, brackets and frets
// never look past a line end, so the lines come out exactly as F5 followed
// by Shift+F7 leave the whole text in a control.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/DocumentOptions.h"
#include "view/ColorPlan.h"
#include "view/ViewCommands.h"

namespace sonavel {

class SongLinePass {
 public:
  explicit SongLinePass(const DocumentOptions& options);

  // Colours the next line: UTF-8 without its line break. The line is lent
  // until the next call.
  void Colorize(std::string_view line) { ColorizeFrom(line, BracketState::Closed); }

  // Colours the next segment of the line of the previous call, for a line
  // too long to hold: the line handed on in segments, each cut just after a
  // space or tab. No chord, fret or the test around one looks across such a
  // cut (a space or tab is a separator, not a tablature character), so only
  // whether a "[" stands open carries over. ForEachPiece and Transposed then
  // cover the segment.
  void ColorizeContinued(std::string_view segment) { ColorizeFrom(segment, m_bracketsAfter); }

  // A stretch of the coloured line in one role: its UTF-8 bytes, its colour
  // and how many characters it holds.
  struct Piece {
    std::string_view bytes;
    ColorRef color = 0;
    long characters = 0;
  };
  // Calls f(piece) for the coloured line from its start to its end: the text
  // between painted runs and the runs themselves, none of them empty.
  template <typename F>
  void ForEachPiece(F&& f) const {
    long from = 0;
    for (const PaintedRun& run : m_runs) {
      if (run.span.start > from) f(PieceOf(from, run.span.start, m_options.textcolor));
      f(PieceOf(run.span.start, run.span.end + 1, RoleColor(run.role, m_options)));
      from = run.span.end + 1;
    }
    const auto length = static_cast<long>(m_text8.size());
    if (from < length) f(PieceOf(from, length, m_options.textcolor));
  }

  // The line as the transposition pass leaves it (UTF-8, without its line
  // break): the line itself when nothing in it changes, else built in
  // `scratch`. Adds what it transposed to `counts`.
  std::string_view Transposed(std::string& scratch, TransposeCounts& counts) const;

 private:
  void ColorizeFrom(std::string_view line, BracketState atStart);
  // Positions are those of m_text8.
  std::size_t ByteOffset(long pos) const;
  Piece PieceOf(long start, long end, ColorRef color) const;
  bool IsColoured(const PaintedRun& run) const { return RoleColor(run.role, m_options) != m_options.textcolor; }

  DocumentOptions m_options;
  RunRewriter m_rewriter;
  std::string_view m_line;
  std::string_view m_text8;              // what the engine reads: the line itself, or its projection
  std::string m_projection;              // one byte per character, for a line the engine cannot read as it is
  std::vector<std::uint32_t> m_offsets;  // byte offset of every character and of the end; empty without a projection
  std::vector<PaintedRun> m_runs;
  BracketState m_bracketsAfter = BracketState::Closed;  // at the end of the text coloured last
};

}  // namespace sonavel
