#include "cli/ColorizeOutput.h"

#include <array>
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

// A control character of the song in caret notation, as `cat -v` shows it
// ("^[", "^?", "M-^["), so that a song can never drive the terminal that
// shows it; any other character as it is.
std::string_view Visible(std::string_view ch, std::array<char, 4>& buffer) {
  const auto first = static_cast<unsigned char>(ch[0]);
  // A line holds no line break; a tab stays a tab.
  const bool c0 = ch.size() == 1 && ((first < 0x20 && ch[0] != '\t') || first == 0x7F);
  if (c0) {
    buffer = {'^', static_cast<char>(first ^ 0x40)};
    return {buffer.data(), 2};
  }
  const bool c1 = ch.size() == 2 && first == 0xC2 && static_cast<unsigned char>(ch[1]) < 0xA0;
  if (c1) {
    buffer = {'M', '-', '^', static_cast<char>(static_cast<unsigned char>(ch[1]) - 0x80 + 0x40)};
    return {buffer.data(), 4};
  }
  return ch;
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

void ColorizeWriter::Line(const SongLinePass& line, bool lineBreak, std::string& out) {
  ++m_lineNumber;
  m_lastLineEmpty = line.Length() == 0;
  Kind open = Kind::None;
  std::array<char, 4> buffer;
  for (long pos = 0; pos < line.Length(); ++pos) {
    const Kind kind = KindOf(line.ColorAt(pos));
    const std::string_view shown = Visible(line.CharacterAt(pos), buffer);
    if (m_format == ColorizeFormat::Spans) {
      if (kind != open) FlushSpan(out);
      if (kind != Kind::None) {
        if (m_spanKind == Kind::None) {
          m_spanKind = kind;
          m_spanColumn = pos;
          m_spanLength = 0;
          m_spanText.clear();
        }
        m_spanText += shown;
        ++m_spanLength;
      }
      open = kind;
      continue;
    }
    if (kind != open) {
      Close(open, out);
      Open(kind, out);
      open = kind;
    }
    if (m_format == ColorizeFormat::Html) AppendHtmlEscaped(out, shown);
    else out += shown;
  }
  // A run never crosses a line.
  if (m_format == ColorizeFormat::Spans) {
    FlushSpan(out);
    return;
  }
  Close(open, out);
  if (lineBreak) out += '\n';
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
