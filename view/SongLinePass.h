#pragma once
// Colorizing and transposing one line at a time, for texts too long to hold
// in a text control. Chords, brackets and frets never look past a line end,
// so the lines come out exactly as F5 followed by Shift+F7 leave the whole
// text in a control.

#include <array>
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
  void Colorize(std::string_view line);

  // The coloured line, character by character.
  long Length() const { return static_cast<long>(m_plan.size()); }
  ColorRef ColorAt(long pos) const { return m_roleColors[static_cast<std::size_t>(m_plan[static_cast<std::size_t>(pos)])]; }
  std::string_view CharacterAt(long pos) const;

  // The line as the transposition pass leaves it (UTF-8, without its line
  // break): the line itself when nothing in it changes, else built in
  // `scratch`. Adds what it transposed to `counts`.
  std::string_view Transposed(std::string& scratch, TransposeCounts& counts) const;

 private:
  std::size_t ByteOffset(long pos) const;
  bool IsColoured(long pos) const { return ColorAt(pos) != m_options.textcolor; }

  DocumentOptions m_options;
  std::array<ColorRef, 3> m_roleColors;  // by ColorRole
  std::string_view m_line;
  std::string_view m_text8;              // one byte per character: the line itself when it is ASCII
  std::string m_projection;              // m_text8 of a line that is not
  std::vector<std::uint32_t> m_offsets;  // byte offset of every character and of the end; empty for ASCII
  std::vector<ColorRole> m_plan;
  bool m_painted = false;  // some character is not text
};

}  // namespace sonavel
