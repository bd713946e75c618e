#include "view/ColorPlan.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "engine/ChordTranspose.h"
#include "engine/NoteTable.h"
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

// What the token scan needs to know of a byte.
enum ByteClass : std::uint8_t { kSeparatorByte = 1, kDigitByte = 2 };

constexpr std::array<std::uint8_t, 256> MakeByteClasses() {
  std::array<std::uint8_t, 256> classes{};
  for (int c = 0; c < 256; ++c) {
    if (detail::kSeparators[static_cast<std::size_t>(c)]) classes[static_cast<std::size_t>(c)] |= kSeparatorByte;
    if (c >= '0' && c <= '9') classes[static_cast<std::size_t>(c)] |= kDigitByte;
  }
  return classes;
}
constexpr std::array<std::uint8_t, 256> kByteClasses = MakeByteClasses();

std::uint8_t ClassOf(char c) { return kByteClasses[static_cast<unsigned char>(c)]; }

}  // namespace

void PlanColors(std::string_view text8, TextSpan range, const DocumentOptions& options,
                std::vector<PaintedRun>& runs, BracketState atTextStart) {
  runs.clear();
  BracketScan brackets(text8, range.start, atTextStart);
  // The tokens: the longest runs of non-separators, a token running on past
  // the range cut at its end. One pass, that also notes whether any digit
  // (and so any fret) is there.
  std::uint8_t seen = 0;
  for (long pos = range.start; pos <= range.end;) {
    if (ClassOf(At(text8, pos)) & kSeparatorByte) {
      ++pos;
      continue;
    }
    const long start = pos;
    for (; pos <= range.end; ++pos) {
      const std::uint8_t byteClass = ClassOf(At(text8, pos));
      if (byteClass & kSeparatorByte) break;
      seen |= byteClass;
    }
    // Most tokens are words: a chord starts with A to H.
    const char first = At(text8, start);
    if (first >= 'A' && first <= 'H' && IsChord(Slice(text8, start, pos - start)) &&
        (!options.chordInBrackets || brackets.OpenBefore(start))) {
      runs.push_back(PaintedRun{TextSpan{start, pos - 1}, ColorRole::Chord});
    }
  }
  // Digits painted as part of a chord, as the 7 of (B7), stay chords. The
  // test is on colours: with the text in the chord colour, no fret shows.
  if (!(seen & kDigitByte) || options.textcolor == options.chordcolor) return;
  const std::size_t chords = runs.size();
  std::size_t next = 0;  // the first chord not wholly before the fret
  ScanFrets(text8, range.start, range.end, [&](const TextSpan& fret) {
    while (next < chords && runs[next].span.end < fret.start) ++next;
    if (next == chords || runs[next].span.start > fret.start) runs.push_back(PaintedRun{fret, ColorRole::Tab});
  });
  if (chords > 0 && runs.size() > chords) {
    std::inplace_merge(runs.begin(), runs.begin() + static_cast<std::ptrdiff_t>(chords), runs.end(),
                       [](const PaintedRun& a, const PaintedRun& b) { return a.span.start < b.span.start; });
  }
}

std::optional<RunRewrite> RewriteKnownRun(std::string_view runText, ColorRef color, bool isWholeChord,
                                          bool isWholeFret, const DocumentOptions& options) {
  const TransposeOptions& opt = options.transpose;
  if (opt.transposeChords && color == options.chordcolor &&
      (isWholeChord || (isWholeFret && color == options.tabcolor))) {
    // Only the root changes; replacing just it keeps every other character
    // of the run as it is, whatever the control holds there. A run without
    // a root (frets in the chord colour) is counted and left as it is.
    const NoteReading root = IsValidKey(opt.key) ? ParseNote(runText, opt.bIsBess) : NoteReading{};
    if (root.pitch < 0) return RunRewrite{0, 0, {}, 0, true};
    const std::string_view name = TransposedNoteName(root.pitch, opt.steps, opt.key);
    return RunRewrite{0, root.length, std::string(name), static_cast<long>(name.size()) - root.length, true};
  }
  if (opt.transposeTabs && color == options.tabcolor && isWholeFret) {
    Transposed result = TransposeTab(runText, opt.steps, opt.tabMiniValue, opt.tabMaxValue);
    return RunRewrite{0, static_cast<long>(runText.size()), std::move(result.newText), result.delta, false};
  }
  return std::nullopt;
}

std::optional<RunRewrite> RewriteRun(std::string_view text8, TextSpan run, ColorRef color,
                                     const DocumentOptions& options) {
  return RewriteKnownRun(Slice(text8, run.start, run.end - run.start + 1), color, IsWholeChord(text8, run),
                         IsWholeFret(text8, run), options);
}

}  // namespace sonavel
