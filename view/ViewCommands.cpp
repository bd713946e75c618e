#include "view/ViewCommands.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/ChordRecognition.h"
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

char At(std::string_view text, long pos) { return text[static_cast<std::size_t>(pos)]; }

// The run is one whole token of the text, as colorizing cuts them, and that
// token is a chord.
bool IsWholeChord(std::string_view text, TextSpan run) {
  const long n = static_cast<long>(text.size());
  if (run.start > 0 && !IsSeparator(At(text, run.start - 1))) return false;
  if (run.end + 1 < n && !IsSeparator(At(text, run.end + 1))) return false;
  const std::string_view token = Slice(text, run.start, run.end - run.start + 1);
  return std::none_of(token.begin(), token.end(), [](char c) { return IsSeparator(c); }) && IsChord(token);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The run is a fret number as the fret scan finds them: one or two digits
// with a tablature character on both sides.
bool IsWholeFret(std::string_view text, TextSpan run) {
  const long n = static_cast<long>(text.size());
  const long length = run.end - run.start + 1;
  if (length > 2 || run.start == 0 || run.end + 1 >= n) return false;
  const std::string_view digits = Slice(text, run.start, length);
  return std::all_of(digits.begin(), digits.end(), IsDigit) && IsTabChar(At(text, run.start - 1)) &&
         IsTabChar(At(text, run.end + 1));
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
  const std::string text = m_control.Text8();
  if (!text.empty()) {
    Selection sel = m_control.GetSel();
    // A selection that starts on a token also takes in the token before it.
    if (!decolorize && !sel.IsEmpty() && sel.start > 0) --sel.start;
    PaintRange(text, GetWorkRange(text, sel.start, sel.end, useSelection), decolorize);
  }
  EndBatchUpdate();
}

void ViewCommands::PaintRange(std::string_view text, TextSpan range, bool decolorize) {
  // The colour every character of the range ends up with: the text colour,
  // then chords, then frets that are not part of a chord. Worked out first
  // and applied run by run, so that a character whose colour stays leaves
  // no trace in the undo history.
  std::vector<ColorRef> plan(static_cast<std::size_t>(range.end - range.start + 1), m_options.textcolor);
  const auto at = [&plan, &range](long pos) -> ColorRef& { return plan[static_cast<std::size_t>(pos - range.start)]; };
  if (!decolorize) {
    long pos = range.start;
    while (const auto token = NextToken(text, pos, range.end)) {
      const std::string_view word = Slice(text, token->start, token->end - token->start + 1);
      if (IsChord(word) && (!m_options.chordInBrackets || IsInBrackets(text, token->start))) {
        std::fill(&at(token->start), &at(token->end) + 1, m_options.chordcolor);
      }
      pos = token->end + 1;
    }
    // Digits painted as part of a chord, as the 7 of (B7), stay chords.
    ScanFrets(text, range.start, range.end, [&](const TextSpan& fret) {
      if (at(fret.start) != m_options.chordcolor) std::fill(&at(fret.start), &at(fret.end) + 1, m_options.tabcolor);
    });
  }
  for (long start = range.start; start <= range.end;) {
    long end = start;
    while (end < range.end && at(end + 1) == at(start)) ++end;
    m_control.SetPlainFormat(start, end + 1, at(start));
    start = end + 1;
  }
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
  const TransposeOptions& opt = m_options.transpose;

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

  long pos = range.start;
  while (const auto run = FindColorRun(m_options.textcolor, pos, e, false)) {
    const long runLength = run->end - run->start + 1;
    const TextSpan here{run->start - shift, run->end - shift};
    const std::string_view runText = Slice(text, here.start, runLength);
    const bool isChord = IsWholeChord(text, here);
    const bool isFret = IsWholeFret(text, here);
    long delta = 0;
    long newLength = 0;
    if (opt.transposeChords && run->color == m_options.chordcolor &&
        (isChord || (isFret && run->color == m_options.tabcolor))) {
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
    } else if (opt.transposeTabs && run->color == m_options.tabcolor && isFret) {
      const Transposed result = TransposeTab(runText, opt.steps, opt.tabMiniValue, opt.tabMaxValue);
      m_control.Replace(run->start, run->end + 1, result.newText);
      delta = result.delta;
      newLength = static_cast<long>(result.newText.size());
      ++counts.tabs;
    } else {
      // Another role's run, a role switched off, or a run edited since it
      // was coloured: left as it is.
      pos = run->start + runLength + 1;
      continue;
    }
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
