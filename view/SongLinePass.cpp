#include "view/SongLinePass.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "document/TextEncoding.h"

namespace sonavel {
namespace {

constexpr char kOtherCharacter = 0x7F;

// Whether any byte is 0xA0; eight at a time, since most lines are short and
// a library call costs more than the search.
bool HoldsByteA0(std::string_view bytes) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + i, 8);
    const std::uint64_t zeroWhereA0 = word ^ (kOnes * 0xA0);
    if ((zeroWhereA0 - kOnes) & ~zeroWhereA0 & kHighs) return true;
  }
  for (; i < bytes.size(); ++i) {
    if (static_cast<unsigned char>(bytes[i]) == 0xA0) return true;
  }
  return false;
}

}  // namespace

SongLinePass::SongLinePass(const DocumentOptions& options) : m_options(options), m_rewriter(options) {}

void SongLinePass::ColorizeFrom(std::string_view line, BracketState atStart) {
  if (line.size() > UINT32_MAX) throw std::length_error("line too long");
  m_line = line;
  m_offsets.clear();
  // The engine reads one byte per character, the character's Windows-1252
  // byte or 0x7F (as a control gives it). The UTF-8 of a line reads the same
  // wherever it matters: no byte of a character beyond ASCII is a separator,
  // a digit, a tablature character, a bracket or part of a chord name, and
  // neither is that character's own byte, with one exception: the no-break
  // space, a separator. Only a line holding the byte 0xA0 (which UTF-8 also
  // uses inside other characters) is read through its projection.
  if (!HoldsByteA0(line)) {
    m_text8 = line;
  } else {
    m_projection.clear();
    for (std::size_t i = 0; i < line.size();) {
      m_offsets.push_back(static_cast<std::uint32_t>(i));
      if (static_cast<unsigned char>(line[i]) < 0x80) {
        m_projection += line[i++];
        continue;
      }
      const int byte = UnicodeToWindows1252(DecodeUtf8At(line, i));
      m_projection += byte < 0 ? kOtherCharacter : static_cast<char>(byte);
    }
    m_offsets.push_back(static_cast<std::uint32_t>(line.size()));
    m_text8 = m_projection;
  }
  if (m_text8.empty()) m_runs.clear();
  else PlanColors(m_text8, TextSpan{0, static_cast<long>(m_text8.size()) - 1}, m_options, m_runs, atStart);
  // Kept now: the text is lent only until the next call.
  if (m_options.chordInBrackets) m_bracketsAfter = BracketStateAfter(m_text8, atStart);
}

std::size_t SongLinePass::ByteOffset(long pos) const {
  return m_offsets.empty() ? static_cast<std::size_t>(pos) : m_offsets[static_cast<std::size_t>(pos)];
}

SongLinePass::Piece SongLinePass::PieceOf(long start, long end, ColorRef color) const {
  const std::size_t from = ByteOffset(start);
  const std::string_view bytes = m_line.substr(from, ByteOffset(end) - from);
  if (!m_offsets.empty()) return Piece{bytes, color, end - start};
  // Every character has one byte that does not continue another.
  const auto characters = std::count_if(bytes.begin(), bytes.end(), [](char c) { return (c & 0xC0) != 0x80; });
  return Piece{bytes, color, static_cast<long>(characters)};
}

std::string_view SongLinePass::Transposed(std::string& scratch, TransposeCounts& counts) const {
  // Painted runs are apart, so each coloured one is a run of the pass over a
  // control (the longest stretches of characters not in the text colour),
  // and is one whole chord token or one whole fret, as colorizing found it.
  bool rewritten = false;
  std::size_t copied = 0;  // bytes of the line already in `scratch`
  for (const PaintedRun& run : m_runs) {
    if (!IsColoured(run)) continue;
    const auto start = static_cast<std::size_t>(run.span.start);
    const std::string_view runText = m_text8.substr(start, static_cast<std::size_t>(run.span.end) + 1 - start);
    const auto rewrite = m_rewriter.RewriteKnown(runText, RoleColor(run.role, m_options), run.role == ColorRole::Chord,
                                                 run.role == ColorRole::Tab);
    if (!rewrite) continue;
    if (!rewritten) scratch.clear();
    rewritten = true;
    const std::size_t from = ByteOffset(run.span.start);
    scratch.append(m_line.data() + copied, from - copied);
    // Note names and fret numbers are ASCII, and so is their UTF-8.
    scratch += rewrite->text;
    copied = ByteOffset(run.span.start + rewrite->length);
    ++(rewrite->isChord ? counts.chords : counts.tabs);
  }
  if (!rewritten) return m_line;
  scratch.append(m_line, copied);
  return scratch;
}

}  // namespace sonavel
