#include "cli/ColorizeOutput.h"

#include <cstdio>

#include "document/TextEncoding.h"

namespace sonavel::cli {
namespace {

std::string AnsiColor(ColorRef c) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "\x1b[38;2;%u;%u;%um", RedOf(c), GreenOf(c), BlueOf(c));
  return buffer;
}

std::string CssColor(ColorRef c) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", RedOf(c), GreenOf(c), BlueOf(c));
  return buffer;
}

void AppendHtmlEscaped(std::string& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
}

// Whether the byte must be shown otherwise: a control character (a line
// holds no line break; a tab stays a tab), the lead byte of a C1 control
// character, or, in HTML, a character with a meaning there.
bool NeedsCare(unsigned char c, bool html) {
  if ((c < 0x20 && c != '\t') || c == 0x7F || c == 0xC2) return true;
  return html && (c == '&' || c == '<' || c == '>' || c == '"');
}

// The UTF-8 of a song with its control characters in caret notation, as
// `cat -v` shows them ("^[", "^?", "M-^["), so that a song can never drive
// the terminal that shows it; escaped for HTML if asked.
void AppendVisible(std::string& out, std::string_view text, bool html) {
  std::size_t done = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (!NeedsCare(c, html)) continue;
    out.append(text, done, i - done);
    done = i + 1;
    if (c == 0xC2) {
      const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0xFF;
      if (next < 0xA0) {
        out += "M-^";
        out += static_cast<char>(next - 0x80 + 0x40);
        done = ++i + 1;
      } else {
        out += text[i];
      }
    } else if (c < 0x20 || c == 0x7F) {
      out += '^';
      out += static_cast<char>(c ^ 0x40);
    } else {
      AppendHtmlEscaped(out, text.substr(i, 1));
    }
  }
  out.append(text, done);
}

constexpr const char* kAnsiReset = "\x1b[0m";

}  // namespace

ColorizeWriter::ColorizeWriter(ColorizeFormat format, const DocumentOptions& options, std::string title)
    : m_format(format), m_options(options), m_title(std::move(title)) {}

ColorizeWriter::Kind ColorizeWriter::KindOf(ColorRef color) const {
  // The chord colour wins when both roles share one, as in transposing.
  if (color == m_options.textcolor) return Kind::None;
  if (color == m_options.chordcolor) return Kind::Chord;
  if (color == m_options.tabcolor) return Kind::Tab;
  return Kind::None;
}

void ColorizeWriter::Begin(std::string& out) const {
  if (m_format != ColorizeFormat::Html) return;
  const DocumentOptions defaults;
  out += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>";
  AppendHtmlEscaped(out, m_title);
  out += "</title>\n<style>\n";
  out += "body { background: " + CssColor(defaults.backgroundcolor) + "; color: " + CssColor(defaults.textcolor) +
         "; }\n";
  out += "pre { font-family: monospace; }\n";
  out += ".chord { color: " + CssColor(defaults.chordcolor) + "; }\n";
  out += ".tab { color: " + CssColor(defaults.tabcolor) + "; }\n";
  out += "</style>\n</head>\n<body>\n<pre>";
}

void ColorizeWriter::Open(Kind kind, std::string& out) const {
  if (kind == Kind::None) return;
  if (m_format == ColorizeFormat::Ansi) {
    out += AnsiColor(kind == Kind::Chord ? m_options.chordcolor : m_options.tabcolor);
  } else {
    out += kind == Kind::Chord ? "<span class=\"chord\">" : "<span class=\"tab\">";
  }
}

void ColorizeWriter::Close(Kind kind, std::string& out) const {
  if (kind != Kind::None) out += m_format == ColorizeFormat::Ansi ? kAnsiReset : "</span>";
}

void ColorizeWriter::FlushSpan(std::string& out) {
  if (m_spanKind == Kind::None) return;
  out += std::to_string(m_lineNumber) + '\t' + std::to_string(m_spanColumn) + '\t' + std::to_string(m_spanLength) +
         '\t' + (m_spanKind == Kind::Chord ? "chord" : "tab") + '\t' + m_spanText + '\n';
  m_spanKind = Kind::None;
}

void ColorizeWriter::Segment(const SongLinePass& segment, const SegmentPlace& place, std::string& out) {
  if (place.startsLine) {
    ++m_lineNumber;
    m_column = 0;
    m_lastLineEmpty = true;
  }
  Kind open = Kind::None;
  segment.ForEachPiece([&](const SongLinePass::Piece& piece) {
    m_lastLineEmpty = false;
    const Kind kind = KindOf(piece.color);
    if (m_format == ColorizeFormat::Spans) {
      if (kind != open) FlushSpan(out);
      if (kind != Kind::None) {
        if (m_spanKind == Kind::None) {
          m_spanKind = kind;
          m_spanColumn = m_column;
          m_spanLength = 0;
          m_spanText.clear();
        }
        AppendVisible(m_spanText, piece.bytes, false);
        m_spanLength += piece.characters;
      }
      open = kind;
      m_column += piece.characters;
      return;
    }
    if (kind != open) {
      Close(open, out);
      Open(kind, out);
      open = kind;
    }
    AppendVisible(out, piece.bytes, m_format == ColorizeFormat::Html);
  });
  // A run never crosses a line, nor a segment: a segment that does not end
  // its line ends in a space or tab, which is never painted, so nothing is
  // open at its end.
  if (m_format == ColorizeFormat::Spans) {
    FlushSpan(out);
    return;
  }
  Close(open, out);
  if (place.lineBreak) out += '\n';
}

void ColorizeWriter::End(std::string& out) const {
  switch (m_format) {
    case ColorizeFormat::Html: out += "</pre>\n</body>\n</html>\n"; break;
    // The terminal's prompt starts on a line of its own.
    case ColorizeFormat::Ansi:
      if (!m_lastLineEmpty) out += '\n';
      break;
    case ColorizeFormat::Spans: break;
  }
}

}  // namespace sonavel::cli
