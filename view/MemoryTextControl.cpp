#include "view/MemoryTextControl.h"

#include <algorithm>
#include <cassert>

#include "document/TextEncoding.h"

namespace sonavel {
namespace {

constexpr std::uint8_t kOtherCharacter = 0x7F;

std::uint8_t ProjectionByte(char32_t c) {
  const int b = UnicodeToWindows1252(c);
  return b < 0 ? kOtherCharacter : static_cast<std::uint8_t>(b);
}

// Calls f for every character of a UTF-8 text, with every line end (CR LF,
// CR or LF) as a single LF.
template <typename F>
void ForEachCharacter(std::string_view utf8, F&& f) {
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t c = DecodeUtf8At(utf8, i);
    if (c == '\r') {
      if (i < utf8.size() && utf8[i] == '\n') ++i;
      c = '\n';
    }
    f(c);
  }
}

std::u32string DecodeText(std::string_view utf8) {
  std::u32string chars;
  ForEachCharacter(utf8, [&chars](char32_t c) { chars.push_back(c); });
  return chars;
}

}  // namespace

MemoryTextControl::MemoryTextControl(ColorRef defaultColor) : m_palette{defaultColor} {}

void MemoryTextControl::SetText(std::string_view utf8) {
  // Decoded straight into the projection; the full characters are only
  // gathered (in a second pass) when the text needs them, so a song never
  // costs more than a few bytes per character while it loads.
  // Room for transposed chords and frets to grow into.
  const std::size_t slack = utf8.size() / 32 + 64;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(utf8.size() + slack);
  m_isWide = false;
  ForEachCharacter(utf8, [&](char32_t c) {
    const std::uint8_t b = ProjectionByte(c);
    m_isWide |= b == kOtherCharacter && c != kOtherCharacter;
    bytes.push_back(b);
  });
  std::vector<char32_t> wide;
  if (m_isWide) {
    wide.reserve(bytes.size() + slack);
    ForEachCharacter(utf8, [&wide](char32_t c) { wide.push_back(c); });
  }
  m_wide.Assign(std::move(wide));
  std::vector<std::uint8_t> colors;
  colors.reserve(bytes.size() + slack);
  colors.resize(bytes.size(), 0);
  m_colors.Assign(std::move(colors));
  m_bytes.Assign(std::move(bytes));
  m_palette.resize(1);
  m_sel = {};
}

std::string MemoryTextControl::Text() const {
  std::string out;
  out.reserve(m_bytes.size() + m_bytes.size() / 8);
  if (m_isWide) {
    m_wide.ForEachSegment(0, m_wide.size(), [&out](const char32_t* a, const char32_t* b) {
      for (; a != b; ++a) AppendUtf8(out, *a);
    });
  } else {
    m_bytes.ForEachSegment(0, m_bytes.size(), [&out](const std::uint8_t* a, const std::uint8_t* b) {
      for (; a != b; ++a) AppendUtf8(out, Windows1252ToUnicode(*a));
    });
  }
  return out;
}

long MemoryTextControl::Length() const { return static_cast<long>(m_bytes.size()); }

std::string MemoryTextControl::Text8() const { return Text8Range(0, Length()); }

std::string MemoryTextControl::Text8Range(long start, long end) const {
  start = Clamp(start);
  end = std::max(start, Clamp(end));
  std::string out;
  out.reserve(static_cast<std::size_t>(end - start));
  // append() rather than insert(): inserting a range of another character
  // type builds a temporary copy of the whole text first.
  m_bytes.ForEachSegment(static_cast<std::size_t>(start), static_cast<std::size_t>(end),
                         [&out](const std::uint8_t* a, const std::uint8_t* b) {
                           out.append(reinterpret_cast<const char*>(a), static_cast<std::size_t>(b - a));
                         });
  return out;
}

long MemoryTextControl::LineStart(long pos) const {
  pos = Clamp(pos);
  while (pos > 0 && m_bytes[static_cast<std::size_t>(pos - 1)] != '\n') --pos;
  return pos;
}

long MemoryTextControl::LineEnd(long pos) const {
  pos = Clamp(pos);
  while (pos < Length() && m_bytes[static_cast<std::size_t>(pos)] != '\n') ++pos;
  return pos;
}

long MemoryTextControl::Clamp(long pos) const { return std::clamp(pos, 0L, Length()); }

void MemoryTextControl::SetSel(long start, long end) {
  if (start == 0 && end == -1) {  // select all
    m_sel = {0, Length()};
    return;
  }
  start = Clamp(start);
  end = Clamp(end);
  if (start > end) std::swap(start, end);
  m_sel = {start, end};
}

ColorRef MemoryTextControl::ColorAt(long pos) const {
  return m_palette[m_colors[static_cast<std::size_t>(pos)]];
}

long MemoryTextControl::SameColorEnd(long pos, long limit) const {
  limit = std::min(limit, Length() - 1);
  if (pos >= limit) return pos;
  return static_cast<long>(m_colors.SameEnd(static_cast<std::size_t>(pos), static_cast<std::size_t>(limit)));
}

std::uint8_t MemoryTextControl::PaletteIndex(ColorRef color) {
  for (std::size_t i = 0; i < m_palette.size(); ++i) {
    if (m_palette[i] == color) return static_cast<std::uint8_t>(i);
  }
  if (m_palette.size() == 256) {
    // Drop colours no character uses any more and renumber the rest.
    std::vector<bool> used(256, false);
    used[0] = true;
    m_colors.ForEachSegment(0, m_colors.size(), [&used](const std::uint8_t* a, const std::uint8_t* b) {
      for (; a != b; ++a) used[*a] = true;
    });
    std::vector<std::uint8_t> renumber(256, 0);
    std::vector<ColorRef> kept;
    for (std::size_t i = 0; i < 256; ++i) {
      if (used[i]) {
        renumber[i] = static_cast<std::uint8_t>(kept.size());
        kept.push_back(m_palette[i]);
      }
    }
    m_colors.ForEachSegment(0, m_colors.size(), [&renumber](std::uint8_t* a, std::uint8_t* b) {
      for (; a != b; ++a) *a = renumber[*a];
    });
    m_palette = std::move(kept);
    // The editor never shows more than a handful of colours at once; this
    // control is not meant for text painted in hundreds of them.
    assert(m_palette.size() < 256);
    if (m_palette.size() == 256) return 255;
  }
  m_palette.push_back(color);
  return static_cast<std::uint8_t>(m_palette.size() - 1);
}

void MemoryTextControl::SetColor(long start, long end, ColorRef color) {
  start = Clamp(start);
  end = Clamp(end);
  if (start >= end) return;
  m_colors.Fill(static_cast<std::size_t>(start), static_cast<std::size_t>(end), PaletteIndex(color));
}

void MemoryTextControl::ReplaceChars(long start, long end, const std::u32string& chars, std::uint8_t colorIndex) {
  std::vector<std::uint8_t> bytes(chars.size());
  bool needsWide = false;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    bytes[i] = ProjectionByte(chars[i]);
    needsWide |= bytes[i] == kOtherCharacter && chars[i] != kOtherCharacter;
  }
  if (needsWide && !m_isWide) {
    std::vector<char32_t> wide;
    wide.reserve(m_bytes.size());
    m_bytes.ForEachSegment(0, m_bytes.size(), [&wide](const std::uint8_t* a, const std::uint8_t* b) {
      for (; a != b; ++a) wide.push_back(Windows1252ToUnicode(*a));
    });
    m_wide.Assign(std::move(wide));
    m_isWide = true;
  }
  const auto s = static_cast<std::size_t>(start);
  const auto e = static_cast<std::size_t>(end);
  m_bytes.Replace(s, e, bytes.data(), bytes.size());
  if (m_isWide) m_wide.Replace(s, e, chars.data(), chars.size());
  const std::vector<std::uint8_t> colors(chars.size(), colorIndex);
  m_colors.Replace(s, e, colors.data(), colors.size());
  m_modified = true;
}

void MemoryTextControl::Replace(long start, long end, std::string_view text8) {
  start = Clamp(start);
  end = Clamp(end);
  if (start > end) std::swap(start, end);
  // New characters take the format of the first replaced one, or at a caret
  // the format of the character before it.
  std::uint8_t color = 0;
  if (start < end) color = m_colors[static_cast<std::size_t>(start)];
  else if (start > 0) color = m_colors[static_cast<std::size_t>(start - 1)];

  const auto s = static_cast<std::size_t>(start);
  const auto e = static_cast<std::size_t>(end);
  std::size_t inserted = text8.size();
  if (!m_isWide && text8.find('\r') == std::string_view::npos) {
    // The transposition pass lands here once per chord and fret: the bytes
    // are the projection already.
    m_bytes.Replace(s, e, reinterpret_cast<const std::uint8_t*>(text8.data()), text8.size());
    m_colors.ReplaceFill(s, e, text8.size(), color);
    m_modified = true;
  } else {
    std::u32string chars;
    chars.reserve(text8.size());
    for (std::size_t i = 0; i < text8.size(); ++i) {
      char32_t c = Windows1252ToUnicode(static_cast<std::uint8_t>(text8[i]));
      if (c == '\r') {
        if (i + 1 < text8.size() && text8[i + 1] == '\n') ++i;
        c = '\n';
      }
      chars.push_back(c);
    }
    ReplaceChars(start, end, chars, color);
    inserted = chars.size();
  }
  const long caret = start + static_cast<long>(inserted);
  m_sel = {caret, caret};
}

void MemoryTextControl::TypeText(std::string_view utf8, ColorRef color) {
  const Selection sel = m_sel;
  const std::u32string chars = DecodeText(utf8);
  ReplaceChars(sel.start, sel.end, chars, PaletteIndex(color));
  const long caret = sel.start + static_cast<long>(chars.size());
  m_sel = {caret, caret};
  if (m_onChange) m_onChange();
}

long MemoryTextControl::LineCount() const {
  long lines = 1;
  m_bytes.ForEachSegment(0, m_bytes.size(), [&lines](const std::uint8_t* a, const std::uint8_t* b) {
    lines += static_cast<long>(std::count(a, b, std::uint8_t{'\n'}));
  });
  return lines;
}

void MemoryTextControl::SetRedrawSuspended(bool suspended) { m_redrawSuspended += suspended ? 1 : -1; }

void MemoryTextControl::ScrollLines(long lines) {
  m_firstVisibleLine = std::clamp(m_firstVisibleLine + lines, 0L, LineCount() - 1);
}

}  // namespace sonavel
