#include "view/SongLinePass.h"

#include <algorithm>
#include <stdexcept>

#include "document/TextEncoding.h"

namespace sonavel {
namespace {

constexpr char kOtherCharacter = 0x7F;

}  // namespace

SongLinePass::SongLinePass(const DocumentOptions& options) : m_options(options) {}

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
  if (line.find('\xA0') == std::string_view::npos) {
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
    const std::string_view runText =
        m_text8.substr(static_cast<std::size_t>(run.span.start), static_cast<std::size_t>(run.span.end - run.span.start + 1));
    const auto rewrite = RewriteKnownRun(runText, RoleColor(run.role, m_options), run.role == ColorRole::Chord,
                                         run.role == ColorRole::Tab, m_options);
    if (!rewrite) continue;
    if (!rewritten) scratch.clear();
    rewritten = true;
    const long pos = run.span.start + rewrite->offset;
    const std::size_t from = ByteOffset(pos);
    scratch.append(m_line, copied, from - copied);
    // Note names are ASCII, and so is their UTF-8.
    if (IsAscii(rewrite->text)) scratch += rewrite->text;
    else scratch += Windows1252ToUtf8(rewrite->text);
    copied = ByteOffset(pos + rewrite->length);
    ++(rewrite->isChord ? counts.chords : counts.tabs);
  }
  if (!rewritten) return m_line;
  scratch.append(m_line, copied);
  return scratch;
}

}  // namespace sonavel
