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
enum ByteClass : std::uint8_t { kSeparatorByte = 1, kDigitByte = 2, kChordLetterByte = 4 };

constexpr std::array<std::uint8_t, 256> MakeByteClasses() {
  std::array<std::uint8_t, 256> classes{};
  for (int c = 0; c < 256; ++c) {
    auto& byteClass = classes[static_cast<std::size_t>(c)];
    if (detail::kSeparators[static_cast<std::size_t>(c)]) byteClass |= kSeparatorByte;
    if (c >= '0' && c <= '9') byteClass |= kDigitByte;
    if (c >= 'A' && c <= 'H') byteClass |= kChordLetterByte;
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
  // The tokens are the longest runs of non-separators, a token running on
  // past the range cut at its end; a chord starts with A to H. Most tokens
  // are words, so the scan goes byte by byte without a branch until a byte
  // that may start a chord; it also notes whether any digit (and so any
  // fret) is there.
  std::uint8_t seen = 0;
  std::uint8_t chordMayStart = kChordLetterByte;  // the range starts a token
  for (long pos = range.start; pos <= range.end; ++pos) {
    const std::uint8_t byteClass = ClassOf(At(text8, pos));
    seen |= byteClass;
    const bool candidate = byteClass & chordMayStart;
    chordMayStart = static_cast<std::uint8_t>((byteClass & kSeparatorByte) << 2);
    if (!candidate) continue;
    long end = pos;
    for (; end < range.end; ++end) {
      const std::uint8_t next = ClassOf(At(text8, end + 1));
      if (next & kSeparatorByte) break;
      seen |= next;
    }
    if (IsChord(Slice(text8, pos, end - pos + 1)) && (!options.chordInBrackets || brackets.OpenBefore(pos))) {
      runs.push_back(PaintedRun{TextSpan{pos, end}, ColorRole::Chord});
    }
    pos = end;  // the byte after a token is a separator
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
  std::inplace_merge(runs.begin(), runs.begin() + static_cast<std::ptrdiff_t>(chords), runs.end(),
                     [](const PaintedRun& a, const PaintedRun& b) { return a.span.start < b.span.start; });
}

RunRewriter::RunRewriter(const DocumentOptions& options) : m_options(options) {
  const TransposeOptions& opt = options.transpose;
  if (IsValidKey(opt.key)) {
    for (int pitch = 0; pitch < kSemitones; ++pitch) {
      m_rootNames[static_cast<std::size_t>(pitch)] = TransposedNoteName(pitch, opt.steps, opt.key);
    }
  }
  for (std::size_t i = 0; i < kFretTexts; ++i) {
    const auto digit = [](std::size_t n) { return static_cast<char>('0' + n); };
    const std::string digits = i < 10 ? std::string{digit(i)} : std::string{digit((i - 10) / 10), digit((i - 10) % 10)};
    m_frets[i] = TransposeTab(digits, opt.steps, opt.tabMiniValue, opt.tabMaxValue).newText;
  }
}

std::optional<RunRewrite> RunRewriter::RewriteKnown(std::string_view runText, ColorRef color, bool isWholeChord,
                                                    bool isWholeFret) const {
  const TransposeOptions& opt = m_options.transpose;
  if (opt.transposeChords && color == m_options.chordcolor &&
      (isWholeChord || (isWholeFret && color == m_options.tabcolor))) {
    // Only the root changes; replacing just it keeps every other character
    // of the run as it is, whatever the control holds there. A run without
    // a root (frets in the chord colour), or a key that does not exist, is
    // counted and left as it is.
    const NoteReading root = ParseNote(runText, opt.bIsBess);
    if (root.pitch < 0 || !IsValidKey(opt.key)) return RunRewrite{0, {}, 0, true};
    const std::string_view name = m_rootNames[static_cast<std::size_t>(root.pitch)];
    return RunRewrite{root.length, name, static_cast<long>(name.size()) - root.length, true};
  }
  if (opt.transposeTabs && color == m_options.tabcolor && isWholeFret) {
    // A whole fret is one or two digits.
    const auto digit = [&](std::size_t i) { return static_cast<std::size_t>(runText[i] - '0'); };
    const std::string& text = m_frets[runText.size() == 1 ? digit(0) : 10 + 10 * digit(0) + digit(1)];
    return RunRewrite{static_cast<long>(runText.size()), text,
                      static_cast<long>(text.size()) - static_cast<long>(runText.size()), false};
  }
  return std::nullopt;
}

std::optional<RunRewrite> RunRewriter::Rewrite(std::string_view text8, TextSpan run, ColorRef color) const {
  return RewriteKnown(Slice(text8, run.start, run.end - run.start + 1), color, IsWholeChord(text8, run),
                      IsWholeFret(text8, run));
}

}  // namespace sonavel
