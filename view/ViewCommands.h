#pragma once
// The commands of a document view that act on its text: colorize,
// decolorize, the change handler, the transposition pass and find next
// chord. They work on any TextControl and on the document's own options;
// the colours in the control are the only record of what was recognised.

#include <optional>
#include <string_view>

#include "document/DocumentOptions.h"
#include "engine/ChordRecognition.h"
#include "view/TextControl.h"

namespace sonavel {

struct ColorRun {
  long start = 0;  // inclusive bounds
  long end = 0;
  ColorRef color = 0;
  friend bool operator==(const ColorRun&, const ColorRun&) = default;
};

struct TransposeCounts {
  long chords = 0;
  long tabs = 0;
  bool AnyTransposed() const { return chords + tabs > 0; }
};

class ViewCommands {
 public:
  ViewCommands(TextControl& control, DocumentOptions& options);

  // The range a bulk command works on, inclusive: the whole text, or the
  // selection widened to token bounds (see the .cpp for the exact rule).
  static TextSpan GetWorkRange(std::string_view text, long selStart, long selEnd, bool useSelection);

  // Bracket around every bulk edit: keeps selection and scroll position,
  // and makes the edit one step of the undo history. Begin gives the saved
  // selection end. A step that changed only colours leaves the modified
  // flag as it was; one that changed text marks the document modified.
  long BeginBatchUpdate(bool joinPreviousStep = false);
  void EndBatchUpdate(std::optional<long> newEnd = std::nullopt, bool textChanged = false);
  bool IsBusy() const { return m_bBusy; }

  // F5 is Colorize(false, false); Shift+F5 is Colorize(true, true).
  void Colorize(bool useSelection, bool decolorize);

  // The control reported the user's change of its text; the colouring
  // joins the user's edit in the undo history.
  void OnTextChanged(bool autoColor);

  std::optional<ColorRun> FindColorRun(ColorRef color, long from, long to, bool match) const;

  // The transposition pass with the document's current options. Only runs
  // that are still what colorizing coloured are rewritten: a chord-coloured
  // run that is a whole chord token, a tab-coloured run that is a whole
  // fret. A run edited since (Am typed into Amy, a word typed against a
  // chord) is left as it is and not counted. The caller reports the counts
  // (or that nothing was transposed); the control is marked modified when
  // anything was.
  TransposeCounts OnQuickTranspose();
  bool CanQuickTranspose() const;

  enum class FindResult { EmptyText, Found, NotFound };
  // Selects the next chord-coloured run after the selection, wrapping to the
  // first; NotFound leaves the selection as it was.
  FindResult OnFindNextChord();

  DocumentOptions& Options() { return m_options; }
  const DocumentOptions& Options() const { return m_options; }

 private:
  void ColorizeStep(bool useSelection, bool decolorize, bool joinPreviousStep);
  // Paints [range] of text, which starts at control position base, as the
  // colour passes would leave it, changing only the characters whose format
  // differs.
  void PaintRange(std::string_view text, TextSpan range, bool decolorize, long base);

  TextControl& m_control;
  DocumentOptions& m_options;

  bool m_bBusy = false;
  long m_nSavedSelStart = 0;
  long m_nSavedSelEnd = 0;
  bool m_bSavedModified = false;
  long m_nSavedFirstLine = 0;
};

}  // namespace sonavel
