#include "view/ViewCommands.h"

#include <algorithm>
#include <string>

#include "engine/ChordTranspose.h"
#include "engine/Tablature.h"

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

std::string_view Slice(std::string_view text, long start, long length) {
  return text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length));
}

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

long ViewCommands::BeginBatchUpdate() {
  m_bBusy = true;
  m_bSavedModified = m_control.IsModified();
  m_control.SetRedrawSuspended(true);
  m_control.EmptyUndoHistory();
  const Selection sel = m_control.GetSel();
  m_nSavedSelStart = sel.start;
  m_nSavedSelEnd = sel.end;
  m_nSavedFirstLine = m_control.FirstVisibleLine();
  return m_nSavedSelEnd;
}

void ViewCommands::EndBatchUpdate(std::optional<long> newEnd) {
  if (!newEnd) m_control.SetSel(m_nSavedSelStart, m_nSavedSelEnd);
  else if (m_nSavedSelStart == m_nSavedSelEnd) m_control.SetSel(*newEnd, *newEnd);
  // A run that began before the selection and shrank may carry the end past
  // the start; the selection then closes rather than turning inside out.
  else m_control.SetSel(m_nSavedSelStart, std::max(*newEnd, m_nSavedSelStart));
  m_bBusy = false;
  m_control.SetModified(m_bSavedModified);
  const long firstLine = m_control.FirstVisibleLine();
  if (firstLine != m_nSavedFirstLine) {
    m_control.ScrollLines(-firstLine);
    m_control.ScrollLines(m_nSavedFirstLine);
  }
  m_control.SetRedrawSuspended(false);
}

void ViewCommands::Colorize(bool useSelection, bool decolorize) {
  WaitCursor wait(m_control);
  BeginBatchUpdate();
  const std::string text = m_control.Text8();
  if (!text.empty()) {
    Selection sel = m_control.GetSel();
    // A selection that starts on a token also takes in the token before it.
    if (!decolorize && !sel.IsEmpty() && sel.start > 0) --sel.start;
    const TextSpan range = GetWorkRange(text, sel.start, sel.end, useSelection);
    m_control.SetPlainFormat(range.start, range.end + 1, m_options.textcolor);
    if (!decolorize) {
      long pos = range.start;
      while (const auto token = NextToken(text, pos, range.end)) {
        const std::string_view word = Slice(text, token->start, token->end - token->start + 1);
        if (IsChord(word) && (!m_options.chordInBrackets || IsInBrackets(text, token->start))) {
          m_control.SetColor(token->start, token->end + 1, m_options.chordcolor);
        }
        pos = token->end + 1;
      }
      // Digits painted as part of a chord, as the 7 of (B7), stay chords.
      ScanFrets(text, range.start, range.end, [this](const TextSpan& fret) {
        if (m_control.ColorAt(fret.start) != m_options.chordcolor) {
          m_control.SetColor(fret.start, fret.end + 1, m_options.tabcolor);
        }
      });
    }
  }
  EndBatchUpdate();
}

void ViewCommands::OnTextChanged(bool autoColor) {
  if (!m_bBusy && autoColor) Colorize(true, false);
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
  const TransposeOptions& opt = m_options.transpose;

  const Selection sel = m_control.GetSel();
  const bool caretOnly = sel.IsEmpty();
  // The text is taken once. Every edit lies before the scan position, so a
  // character at control position p is the character at p - shift here.
  const std::string text = m_control.Text8();
  const TextSpan range = GetWorkRange(text, sel.start, sel.end, false);
  long e = range.end;
  long shift = 0;

  long pos = range.start;
  while (const auto run = FindColorRun(m_options.textcolor, pos, e, false)) {
    const long runLength = run->end - run->start + 1;
    const std::string_view runText = Slice(text, run->start - shift, runLength);
    long delta = 0;
    long newLength = 0;
    if (opt.transposeChords && run->color == m_options.chordcolor) {
      const Transposed result = TransposeChord(runText, opt.steps, opt.key, opt.bIsBess);
      // Only the root changes; replacing just it keeps every other character
      // of the run as it is, whatever the control holds there.
      const long rootLength = ChordRootLength(runText, opt.key, opt.bIsBess);
      if (rootLength > 0) {
        const std::string_view newRoot =
            std::string_view(result.newText).substr(0, static_cast<std::size_t>(rootLength + result.delta));
        m_control.Replace(run->start, run->start + rootLength, newRoot);
      }
      delta = result.delta;
      newLength = static_cast<long>(result.newText.size());
      ++counts.chords;
    } else if (opt.transposeTabs && run->color == m_options.tabcolor) {
      const Transposed result = TransposeTab(runText, opt.steps, opt.tabMiniValue, opt.tabMaxValue);
      m_control.Replace(run->start, run->end + 1, result.newText);
      delta = result.delta;
      newLength = static_cast<long>(result.newText.size());
      ++counts.tabs;
    } else {
      pos = run->start + runLength + 1;
      continue;
    }
    if (!caretOnly || run->start < caret) caret += delta;
    e += delta;
    shift += delta;
    pos = run->start + newLength + 1;
  }

  EndBatchUpdate(caret);
  if (counts.AnyTransposed()) m_control.SetModified(true);
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
