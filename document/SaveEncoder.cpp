#include "document/SaveEncoder.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "document/TextEncoding.h"

namespace sonavel {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kLineBreak = "\r\n";

bool StartsWithByteOrderMark(std::string_view bytes) {
  return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") || bytes.starts_with(kUtf8Mark);
}

void PutUtf16Unit(std::string& out, char32_t unit, bool bigEndian) {
  const auto high = static_cast<char>(unit >> 8);
  const auto low = static_cast<char>(unit & 0xFF);
  out += bigEndian ? high : low;
  out += bigEndian ? low : high;
}

void PutUtf16(std::string& out, std::string_view utf8, bool bigEndian) {
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t c = DecodeUtf8At(utf8, i);
    if (c < 0x10000) {
      PutUtf16Unit(out, c, bigEndian);
    } else {
      PutUtf16Unit(out, 0xD800 + ((c - 0x10000) >> 10), bigEndian);
      PutUtf16Unit(out, 0xDC00 + ((c - 0x10000) & 0x3FF), bigEndian);
    }
  }
}

bool CanEncodeAsWindows1252(std::string_view utf8) {
  for (std::size_t i = 0; i < utf8.size();) {
    if (static_cast<unsigned char>(utf8[i]) < 0x80) {
      ++i;
    } else if (UnicodeToWindows1252(DecodeUtf8At(utf8, i)) < 0) {
      return false;
    }
  }
  return true;
}

}  // namespace

void SaveEncoder::Put(std::string_view line, bool lineBreak, std::string& out) {
  const bool first = !m_started;
  m_started = true;
  switch (m_used) {
    case SaveEncoding::Windows1252:
      PutWindows1252(line, lineBreak, first, out);
      return;
    case SaveEncoding::Utf8:
      // A text that begins with U+FEFF would lose it to the reader, which
      // takes those bytes for a mark; a real mark in front keeps the character.
      if (first && line.starts_with(kUtf8Mark)) out += kUtf8Mark;
      break;
    case SaveEncoding::Utf8WithMark:
      if (first) out += kUtf8Mark;
      break;
    case SaveEncoding::Utf16LittleEndian:
    case SaveEncoding::Utf16BigEndian: {
      const bool bigEndian = m_used == SaveEncoding::Utf16BigEndian;
      if (first) PutUtf16Unit(out, 0xFEFF, bigEndian);
      PutUtf16(out, line, bigEndian);
      if (lineBreak) PutUtf16(out, kLineBreak, bigEndian);
      return;
    }
  }
  out += line;
  if (lineBreak) out += kLineBreak;
}

// The reader takes a file without a mark as UTF-8 whenever it is valid
// UTF-8, and a file that starts like a mark as marked; Windows-1252 bytes of
// either kind would read back as other characters, so such a text is saved
// as UTF-8 instead.
void SaveEncoder::PutWindows1252(std::string_view line, bool lineBreak, bool first, std::string& out) {
  std::optional<std::string> bytes = Utf8ToWindows1252(line);
  if (!bytes) {
    if (m_settled) throw std::logic_error("a character Windows-1252 lacks after the file's form was settled");
    SwitchToUtf8(out);
    m_started = !first;  // the line is still the text's first
    Put(line, lineBreak, out);
    return;
  }
  if (lineBreak) *bytes += kLineBreak;
  if (m_settled) {
    out += *bytes;
    return;
  }
  if (m_head.size() < 3) m_head += std::string_view(*bytes).substr(0, 3 - m_head.size());
  m_validUtf8 = m_validUtf8 && m_validator.Feed(reinterpret_cast<const unsigned char*>(bytes->data()), bytes->size());
  m_ascii = m_ascii && IsAscii(*bytes);
  if (m_ascii) {
    out += *bytes;
    return;
  }
  m_held += *bytes;
  if (!m_validUtf8 && m_head.size() >= 3 && !StartsWithByteOrderMark(m_head)) {
    out += m_held;
    m_held.clear();
    m_settled = true;
  }
}

void SaveEncoder::SwitchToUtf8(std::string& out) {
  // What was held is all Windows-1252 characters, each byte one of them.
  out += Windows1252ToUtf8(m_held);
  m_held.clear();
  m_used = SaveEncoding::Utf8;
}

void SaveEncoder::Finish(std::string& out) {
  if (m_used != SaveEncoding::Windows1252 || m_settled) return;
  const bool validUtf8 = m_validUtf8 && m_validator.Finish();
  if (!m_ascii && (validUtf8 || StartsWithByteOrderMark(m_head))) SwitchToUtf8(out);
  else out += m_held;
  m_held.clear();
  m_settled = true;
}

std::string EncodeForSave(std::string_view utf8Text, SaveEncoding preferred, SaveEncoding* used) {
  std::string out;
  out.reserve(utf8Text.size() + utf8Text.size() / 32 + 4);
  // With the whole text at hand, a character the code page lacks is known
  // before anything is written.
  if (preferred == SaveEncoding::Windows1252 && !CanEncodeAsWindows1252(utf8Text)) preferred = SaveEncoding::Utf8;
  SaveEncoder encoder(preferred);
  ForEachLine(utf8Text, [&](std::string_view line, bool lineBreak) { encoder.Put(line, lineBreak, out); });
  encoder.Finish(out);
  if (used) *used = encoder.Used();
  return out;
}

}  // namespace sonavel
