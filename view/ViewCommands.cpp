#include "view/ViewCommands.h"

#include <algorithm>
#include <string>
#include <vector>

#include "view/ColorPlan.h"

namespace sonavel {
namespace {

// Shows the wait cursor for the lifetime of a command.
class WaitCursor {
 public:
  explicit WaitCursor(TextControl& control) : m_control(control) { m_control.SetWaitCursor(true); }
  ~WaitCursor() { m_control.SetWaitCursor(false); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  TextControl& m_control;
};

}  // namespace

ViewCommands::ViewCommands(TextControl& control, DocumentOptions& options)
    : m_control(control), m_options(options) {}

TextSpan ViewCommands::GetWorkRange(std::string_view text, long selStart, long selEnd, bool useSelection) {
  const long n = static_cast<long>(text.size());
  long s = selStart;
  long e = selEnd;
  if (e >= n) e = n - 1;
  if (s >= n) s = n - 1;
  if (!useSelection && (s >= e || e == -1)) return {0, n - 1};
  // Widen to token bounds: back to the start of the first token, forward to
  // the separator that follows the last one.
  while (s > 0 && !IsSeparator(text[static_cast<std::size_t>(s - 1)])) --s;
  while (e >= 0 && e < n - 1 && !IsSeparator(text[static_cast<std::size_t>(e)])) ++e;
  return {s, e};
}

long ViewCommands::BeginBatchUpdate(bool joinPreviousStep) {
  m_bBusy = true;
  m_bSavedModified = m_control.IsModified();
  m_control.SetRedrawSuspended(true);
  m_control.BeginEditStep(joinPreviousStep);
  const Selection sel = m_control.GetSel();
  m_nSavedSelStart = sel.start;
  m_nSavedSelEnd = sel.end;
  m_nSavedFirstLine = m_control.FirstVisibleLine();
  return m_nSavedSelEnd;
}

void ViewCommands::EndBatchUpdate(std::optional<long> newEnd, bool textChanged) {
  if (!newEnd) m_control.SetSel(m_nSavedSelStart, m_nSavedSelEnd);
  else if (m_nSavedSelStart == m_nSavedSelEnd) m_control.SetSel(*newEnd, *newEnd);
  // A run that began before the selection and shrank may carry the end past
  // the start; the selection then closes rather than turning inside out.
  else m_control.SetSel(m_nSavedSelStart, std::max(*newEnd, m_nSavedSelStart));
  m_bBusy = false;
  m_control.EndEditStep(textChanged);
  // Colouring never marks a document modified.
  m_control.SetModified(textChanged || m_bSavedModified);
  const long firstLine = m_control.FirstVisibleLine();
  if (firstLine != m_nSavedFirstLine) {
    m_control.ScrollLines(-firstLine);
    m_control.ScrollLines(m_nSavedFirstLine);
  }
  m_control.SetRedrawSuspended(false);
}

void ViewCommands::Colorize(bool useSelection, bool decolorize) { ColorizeStep(useSelection, decolorize, false); }

void ViewCommands::ColorizeStep(bool useSelection, bool decolorize, bool joinPreviousStep) {
  WaitCursor wait(m_control);
  BeginBatchUpdate(joinPreviousStep);
  Selection sel = m_control.GetSel();
  // A selection that starts on a token also takes in the token before it.
  if (!decolorize && !sel.IsEmpty() && sel.start > 0) --sel.start;
  // Tokens never cross a line end, so the work range of a selection lies
  // within the lines it touches (with the break after them), and only those
  // are read: typing costs the same in a long song as in a short one.
  long base = 0;
  std::string text;
  if (useSelection) {
    base = m_control.LineStart(sel.start);
    text = m_control.Text8Range(base, m_control.LineEnd(sel.end) + 1);
  } else {
    text = m_control.Text8();
  }
  if (!text.empty()) {
    PaintRange(text, GetWorkRange(text, sel.start - base, sel.end - base, useSelection), decolorize, base);
  }
  EndBatchUpdate();
}

void ViewCommands::PaintRange(std::string_view text, TextSpan range, bool decolorize, long base) {
  // The colour of every character is worked out first and applied in the
  // longest stretches of one colour, so that a character whose colour stays
  // leaves no trace in the undo history. The pieces come in text order,
  // each starting where the one before ended.
  TextSpan stretch{range.start, range.start - 1};
  ColorRef stretchColor = m_options.textcolor;
  const auto flush = [&] {
    if (stretch.end < stretch.start) return;
    m_control.SetPlainFormat(base + stretch.start, base + stretch.end + 1, stretchColor);
  };
  const auto paint = [&](TextSpan piece, ColorRef color) {
    if (piece.end < piece.start) return;
    if (color != stretchColor) {
      flush();
      stretch.start = piece.start;
      stretchColor = color;
    }
    stretch.end = piece.end;
  };
  // Nothing painted crosses a line end, so the plan is made a line at a
  // time, in memory the size of a line.
  std::vector<PaintedRun> runs;
  for (long lineStart = range.start; lineStart <= range.end;) {
    const std::size_t lineBreak = std::min(text.find('\n', static_cast<std::size_t>(lineStart)), text.size());
    const long lineEnd = std::min(range.end, static_cast<long>(lineBreak));
    if (!decolorize) PlanColors(text, TextSpan{lineStart, lineEnd}, m_options, runs);
    long textFrom = lineStart;
    for (const PaintedRun& run : runs) {
      paint(TextSpan{textFrom, run.span.start - 1}, m_options.textcolor);
      paint(run.span, RoleColor(run.role, m_options));
      textFrom = run.span.end + 1;
    }
    paint(TextSpan{textFrom, lineEnd}, m_options.textcolor);
    lineStart = lineEnd + 1;
  }
  flush();
}

void ViewCommands::OnTextChanged(bool autoColor) {
  if (!m_bBusy && autoColor) ColorizeStep(true, false, true);
}

std::optional<ColorRun> ViewCommands::FindColorRun(ColorRef color, long from, long to, bool match) const {
  const long last = m_control.Length() - 1;
  if (to > last) to = last;
  if (from < 0) from = 0;
  const auto satisfies = [&](ColorRef c) { return (c == color) == match; };
  for (long p = from; p <= to;) {
    const ColorRef first = m_control.ColorAt(p);
    long end = m_control.SameColorEnd(p, to);
    if (satisfies(first)) {
      while (end < to && satisfies(m_control.ColorAt(end + 1))) end = m_control.SameColorEnd(end + 1, to);
      return ColorRun{p, end, first};
    }
    p = end + 1;
  }
  return std::nullopt;
}

bool ViewCommands::CanQuickTranspose() const {
  return m_options.transpose.transposeChords || m_options.transpose.transposeTabs;
}

TransposeCounts ViewCommands::OnQuickTranspose() {
  WaitCursor wait(m_control);
  long caret = BeginBatchUpdate();
  TransposeCounts counts;

  const Selection sel = m_control.GetSel();
  const bool caretOnly = sel.IsEmpty();
  // The text is taken once. Every edit lies inside a run before the scan
  // position, and runs are apart by at least one text-coloured character,
  // so a character at control position p is the character at p - shift
  // here, and so are the neighbours of the run being looked at.
  const std::string text = m_control.Text8();
  const TextSpan range = GetWorkRange(text, sel.start, sel.end, false);
  long e = range.end;
  long shift = 0;

  const RunRewriter rewriter(m_options);
  long pos = range.start;
  while (const auto run = FindColorRun(m_options.textcolor, pos, e, false)) {
    const long runLength = run->end - run->start + 1;
    const std::optional<RunRewrite> rewrite =
        rewriter.Rewrite(text, TextSpan{run->start - shift, run->end - shift}, run->color);
    if (!rewrite) {
      pos = run->start + runLength + 1;
      continue;
    }
    if (rewrite->length > 0) m_control.Replace(run->start, run->start + rewrite->length, rewrite->text);
    ++(rewrite->isChord ? counts.chords : counts.tabs);
    const long delta = rewrite->delta;
    const long newLength = runLength + delta;
    if (!caretOnly || run->start < caret) caret += delta;
    e += delta;
    shift += delta;
    pos = run->start + newLength + 1;
  }

  EndBatchUpdate(caret, counts.AnyTransposed());
  return counts;
}

ViewCommands::FindResult ViewCommands::OnFindNextChord() {
  const Selection sel = m_control.GetSel();
  const std::string text = m_control.Text8();
  const long n = static_cast<long>(text.size());
  if (n == 0) return FindResult::EmptyText;
  m_control.SetRedrawSuspended(true);
  const TextSpan range = GetWorkRange(text, sel.start, sel.end, false);
  auto run = FindColorRun(m_options.chordcolor, range.end + 1, n - 1, true);
  if (!run) run = FindColorRun(m_options.chordcolor, 0, range.end, true);
  if (run) m_control.SetSel(run->start, run->end + 1);
  else m_control.SetSel(sel.start, sel.end);
  m_control.SetRedrawSuspended(false);
  return run ? FindResult::Found : FindResult::NotFound;
}

}  // namespace sonavel
