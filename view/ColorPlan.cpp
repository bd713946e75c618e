#include "view/ColorPlan.h"

#include <algorithm>

#include "engine/ChordTranspose.h"
#include "engine/Tablature.h"

namespace sonavel {
namespace {

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

bool PlanColors(std::string_view text8, TextSpan range, const DocumentOptions& options, std::vector<ColorRole>& plan) {
  plan.assign(static_cast<std::size_t>(range.end - range.start + 1), ColorRole::Text);
  bool painted = false;
  const auto fill = [&](TextSpan span, ColorRole role) {
    painted = true;
    std::fill(plan.begin() + (span.start - range.start), plan.begin() + (span.end - range.start + 1), role);
  };
  BracketScan brackets(text8, range.start);
  // The tokens: the longest runs of non-separators, a token running on past
  // the range cut at its end. One pass, that also notes whether any digit
  // (and so any fret) is there.
  bool anyDigit = false;
  for (long pos = range.start; pos <= range.end;) {
    if (IsSeparator(At(text8, pos))) {
      ++pos;
      continue;
    }
    long end = pos;
    anyDigit |= IsDigit(At(text8, pos));
    while (end < range.end && !IsSeparator(At(text8, end + 1))) {
      ++end;
      anyDigit |= IsDigit(At(text8, end));
    }
    // Most tokens are words: a chord starts with A to H.
    const char first = At(text8, pos);
    if (first >= 'A' && first <= 'H' && IsChord(Slice(text8, pos, end - pos + 1)) &&
        (!options.chordInBrackets || brackets.OpenBefore(pos))) {
      fill(TextSpan{pos, end}, ColorRole::Chord);
    }
    pos = end + 1;
  }
  // Digits painted as part of a chord, as the 7 of (B7), stay chords. The
  // test is on colours: with the text in the chord colour, no fret shows.
  if (anyDigit) {
    ScanFrets(text8, range.start, range.end, [&](const TextSpan& fret) {
      const ColorRole role = plan[static_cast<std::size_t>(fret.start - range.start)];
      if (RoleColor(role, options) != options.chordcolor) fill(fret, ColorRole::Tab);
    });
  }
  return painted;
}

std::optional<RunRewrite> RewriteRun(std::string_view text8, TextSpan run, ColorRef color,
                                     const DocumentOptions& options) {
  const TransposeOptions& opt = options.transpose;
  const long runLength = run.end - run.start + 1;
  const std::string_view runText = Slice(text8, run.start, runLength);
  const bool isFret = IsWholeFret(text8, run);
  if (opt.transposeChords && color == options.chordcolor &&
      (IsWholeChord(text8, run) || (isFret && color == options.tabcolor))) {
    Transposed result = TransposeChord(runText, opt.steps, opt.key, opt.bIsBess);
    // Only the root changes; replacing just it keeps every other character
    // of the run as it is, whatever the control holds there.
    const long rootLength = ChordRootLength(runText, opt.key, opt.bIsBess);
    result.newText.resize(static_cast<std::size_t>(std::max(0L, rootLength + result.delta)));
    return RunRewrite{0, rootLength, std::move(result.newText), result.delta, true};
  }
  if (opt.transposeTabs && color == options.tabcolor && isFret) {
    Transposed result = TransposeTab(runText, opt.steps, opt.tabMiniValue, opt.tabMaxValue);
    return RunRewrite{0, runLength, std::move(result.newText), result.delta, false};
  }
  return std::nullopt;
}

}  // namespace sonavel
