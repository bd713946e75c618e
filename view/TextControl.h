#pragma once
// What the view's commands need of a text control. The colorize, transpose
// and find-next-chord logic is written once against this interface; the
// editor implements it on QTextEdit, tests and the command-line tool on an
// in-memory buffer. Both must give identical results on the same input.

#include <string>
#include <string_view>

#include "document/ColorRef.h"

namespace sonavel {

// A half-open character range as the control reports it; start == end is a caret.
struct Selection {
  long start = 0;
  long end = 0;
  bool IsEmpty() const { return start == end; }
  friend bool operator==(const Selection&, const Selection&) = default;
};

class TextControl {
 public:
  virtual ~TextControl() = default;

  // Number of positions. Every character is one position, and so is every
  // line break.
  virtual long Length() const = 0;

  // The text as the music engine reads it, one byte per position: the
  // character's Windows-1252 byte, LF for a line break, and 0x7F for a
  // character that Windows-1252 cannot hold.
  virtual std::string Text8() const = 0;
  // The same for the characters of [start, end) alone.
  virtual std::string Text8Range(long start, long end) const = 0;

  // The first position of the line that holds pos, and the position of the
  // line break that ends it (Length() for the last line). A position on a
  // line break belongs to the line the break ends.
  virtual long LineStart(long pos) const = 0;
  virtual long LineEnd(long pos) const = 0;

  virtual Selection GetSel() const = 0;
  // Clamped to [0, Length()]; start > end is taken as (end, start).
  virtual void SetSel(long start, long end) = 0;

  // Colour of the character at pos (0 <= pos < Length()). A character without
  // an explicit colour has the colour the control shows it in.
  virtual ColorRef ColorAt(long pos) const = 0;
  // The last position q in [pos, limit] such that every character of
  // [pos, q] has the colour of pos. Lets callers walk colour runs without a
  // query per character.
  virtual long SameColorEnd(long pos, long limit) const = 0;

  // Colour only, over the half-open range [start, end).
  virtual void SetColor(long start, long end, ColorRef color) = 0;
  // The base format of colorizing: colour and underline off.
  virtual void SetPlainFormat(long start, long end, ColorRef color) = 0;

  // Replaces [start, end) by text (Windows-1252 bytes). The inserted
  // characters take the format of the first replaced character.
  virtual void Replace(long start, long end, std::string_view text8) = 0;

  // The document's modified flag.
  virtual bool IsModified() const = 0;
  virtual void SetModified(bool modified) = 0;

  // Every change between these two is one step of the undo history. With
  // joinPrevious the changes join the step the user's own edit just made
  // (colouring while typing). Steps nest; only the outermost counts.
  // textChanged says whether the step changed characters or only colours.
  virtual void BeginEditStep(bool joinPrevious) = 0;
  virtual void EndEditStep(bool textChanged) = 0;

  // Redraw is suspended while a bulk edit runs (at most one at a time).
  virtual void SetRedrawSuspended(bool suspended) = 0;

  virtual long FirstVisibleLine() const = 0;
  virtual void ScrollLines(long lines) = 0;

  // Long operations show the wait cursor where there is a screen.
  virtual void SetWaitCursor(bool /*on*/) {}
};

}  // namespace sonavel
