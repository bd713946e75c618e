#include "view/SongLinePass.h"

#include <stdexcept>

#include "document/TextEncoding.h"

namespace sonavel {
namespace {

constexpr char kOtherCharacter = 0x7F;

}  // namespace

SongLinePass::SongLinePass(const DocumentOptions& options)
    : m_options(options),
      m_roleColors{RoleColor(ColorRole::Text, options), RoleColor(ColorRole::Chord, options),
                   RoleColor(ColorRole::Tab, options)} {}

void SongLinePass::Colorize(std::string_view line) {
  if (line.size() > UINT32_MAX) throw std::length_error("line too long");
  m_line = line;
  m_offsets.clear();
  if (IsAscii(line)) {
    m_text8 = line;
  } else {
    // The projection the text controls give the engine: a character's
    // Windows-1252 byte, or 0x7F when the code page lacks it.
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
  m_plan.clear();
  m_painted = !m_text8.empty() &&
              PlanColors(m_text8, TextSpan{0, static_cast<long>(m_text8.size()) - 1}, m_options, m_plan);
}

std::size_t SongLinePass::ByteOffset(long pos) const {
  return m_offsets.empty() ? static_cast<std::size_t>(pos) : m_offsets[static_cast<std::size_t>(pos)];
}

std::string_view SongLinePass::CharacterAt(long pos) const {
  const std::size_t begin = ByteOffset(pos);
  return m_line.substr(begin, ByteOffset(pos + 1) - begin);
}

std::string_view SongLinePass::Transposed(std::string& scratch, TransposeCounts& counts) const {
  // Runs are what the pass over a control finds: the longest stretches of
  // characters not in the text colour, each taken by its first colour.
  const long length = m_painted ? Length() : 0;
  bool rewritten = false;
  std::size_t copied = 0;  // bytes of the line already in `scratch`
  for (long pos = 0; pos < length;) {
    if (!IsColoured(pos)) {
      ++pos;
      continue;
    }
    long end = pos;
    while (end + 1 < length && IsColoured(end + 1)) ++end;
    if (const auto rewrite = RewriteRun(m_text8, TextSpan{pos, end}, ColorAt(pos), m_options)) {
      if (!rewritten) scratch.clear();
      rewritten = true;
      const std::size_t from = ByteOffset(pos + rewrite->offset);
      scratch.append(m_line, copied, from - copied);
      // Note names are ASCII, and so is their UTF-8.
      if (IsAscii(rewrite->text)) scratch += rewrite->text;
      else scratch += Windows1252ToUtf8(rewrite->text);
      copied = ByteOffset(pos + rewrite->offset + rewrite->length);
      ++(rewrite->isChord ? counts.chords : counts.tabs);
    }
    pos = end + 2;  // the character after a run is in the text colour
  }
  if (!rewritten) return m_line;
  scratch.append(m_line, copied);
  return scratch;
}

}  // namespace sonavel
