#pragma once
// A text control in memory: one character and one colour per position.
// Used by the command-line tool, the benchmarks and the fast tests; the
// editor's control on QTextEdit must behave the same.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "view/GapBuffer.h"
#include "view/TextControl.h"

namespace sonavel {

class MemoryTextControl final : public TextControl {
 public:
  // defaultColor is the colour of characters that were never coloured.
  explicit MemoryTextControl(ColorRef defaultColor = kDefaultTextColor);

  // Replaces all text (UTF-8). CR LF, CR and LF each become one line break;
  // every character takes the default colour; selection becomes empty at 0.
  void SetText(std::string_view utf8);
  // All text as UTF-8, line breaks as LF.
  std::string Text() const;

  // A user's edit: replaces the selection with text in the given colour (new
  // text never takes the colour of its neighbours), marks the document
  // modified and notifies the change handler.
  void TypeText(std::string_view utf8, ColorRef color = kDefaultTextColor);
  void SetChangeHandler(std::function<void()> handler) { m_onChange = std::move(handler); }
  void SetFirstVisibleLine(long line) { m_firstVisibleLine = line; }
  long LineCount() const;

  long Length() const override;
  std::string Text8() const override;
  std::string Text8Range(long start, long end) const override;
  long LineStart(long pos) const override;
  long LineEnd(long pos) const override;
  Selection GetSel() const override { return m_sel; }
  void SetSel(long start, long end) override;
  ColorRef ColorAt(long pos) const override;
  long SameColorEnd(long pos, long limit) const override;
  void SetColor(long start, long end, ColorRef color) override;
  void SetPlainFormat(long start, long end, ColorRef color) override { SetColor(start, end, color); }
  void Replace(long start, long end, std::string_view text8) override;
  bool IsModified() const override { return m_modified; }
  void SetModified(bool modified) override { m_modified = modified; }
  // No undo history here; steps only nest.
  void BeginEditStep(bool /*joinPrevious*/) override { ++m_editSteps; }
  void EndEditStep(bool /*textChanged*/) override { --m_editSteps; }
  void SetRedrawSuspended(bool suspended) override;
  long FirstVisibleLine() const override { return m_firstVisibleLine; }
  void ScrollLines(long lines) override;

  int RedrawSuspensions() const { return m_redrawSuspended; }
  int OpenEditSteps() const { return m_editSteps; }

 private:
  std::uint8_t PaletteIndex(ColorRef color);
  void ReplaceChars(long start, long end, const std::u32string& chars, std::uint8_t colorIndex);
  long Clamp(long pos) const;

  // Projection bytes are always kept; full characters only once the text
  // holds one that Windows-1252 lacks, so plain song sheets cost two bytes
  // per character.
  GapBuffer<std::uint8_t> m_bytes;
  GapBuffer<char32_t> m_wide;
  bool m_isWide = false;
  GapBuffer<std::uint8_t> m_colors;  // index into m_palette
  std::vector<ColorRef> m_palette;

  Selection m_sel;
  bool m_modified = false;
  int m_editSteps = 0;
  int m_redrawSuspended = 0;
  long m_firstVisibleLine = 0;
  std::function<void()> m_onChange;
};

}  // namespace sonavel
