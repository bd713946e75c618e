#include "cli/ColorizeOutput.h"

#include <array>
#include <cstdio>

#include "document/TextEncoding.h"

namespace sonavel::cli {
namespace {

// Walks a UTF-8 text one control position at a time, giving each
// character's bytes.
class CharacterWalker {
 public:
  explicit CharacterWalker(const std::string& text) : m_text(text) {}
  bool AtEnd() const { return m_offset >= m_text.size(); }
  std::string_view Next() {
    const std::size_t begin = m_offset;
    (void)DecodeUtf8At(m_text, m_offset);
    return std::string_view(m_text).substr(begin, m_offset - begin);
  }

 private:
  const std::string& m_text;
  std::size_t m_offset = 0;
};

// Calls f(position, characterBytes, runOrNull) for every character.
template <typename F>
void ForEachCharacter(const std::string& text, const std::vector<ColoredRun>& runs, F&& f) {
  CharacterWalker walker(text);
  auto run = runs.begin();
  for (long pos = 0; !walker.AtEnd(); ++pos) {
    while (run != runs.end() && run->end < pos) ++run;
    const bool inRun = run != runs.end() && run->start <= pos;
    f(pos, walker.Next(), inRun ? &*run : nullptr);
  }
}

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
  const bool c0 = ch.size() == 1 && ((first < 0x20 && ch[0] != '\t' && ch[0] != '\n' && ch[0] != '\r') || first == 0x7F);
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

const char* KindName(RunKind kind) { return kind == RunKind::Chord ? "chord" : "tab"; }

}  // namespace

std::vector<ColoredRun> CollectColoredRuns(const TextControl& control, const DocumentOptions& options) {
  std::vector<ColoredRun> runs;
  const long last = control.Length() - 1;
  for (long p = 0; p <= last;) {
    const ColorRef color = control.ColorAt(p);
    const long end = control.SameColorEnd(p, last);
    // The chord colour wins when both roles share one, as in transposing.
    if (color == options.chordcolor && color != options.textcolor) runs.push_back({p, end, RunKind::Chord});
    else if (color == options.tabcolor && color != options.textcolor) runs.push_back({p, end, RunKind::Tab});
    p = end + 1;
  }
  return runs;
}

std::string FormatAnsi(const std::string& text, const std::vector<ColoredRun>& runs, const DocumentOptions& options) {
  static constexpr const char* kReset = "\x1b[0m";
  std::string out;
  out.reserve(text.size() + runs.size() * 24);
  const ColoredRun* open = nullptr;
  ForEachCharacter(text, runs, [&](long, std::string_view ch, const ColoredRun* run) {
    if (run != open) {
      if (open) out += kReset;
      if (run) out += AnsiColor(run->kind == RunKind::Chord ? options.chordcolor : options.tabcolor);
      open = run;
    }
    std::array<char, 4> buffer;
    out += Visible(ch, buffer);
  });
  if (open) out += kReset;
  return out;
}

std::string FormatHtml(const std::string& text, const std::vector<ColoredRun>& runs, const std::string& title) {
  const DocumentOptions defaults;
  std::string out;
  out.reserve(text.size() * 2 + 1024);
  out += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>";
  AppendHtmlEscaped(out, title);
  out += "</title>\n<style>\n";
  out += "body { background: " + CssColor(defaults.backgroundcolor) + "; color: " + CssColor(defaults.textcolor) +
         "; }\n";
  out += "pre { font-family: monospace; }\n";
  out += ".chord { color: " + CssColor(defaults.chordcolor) + "; }\n";
  out += ".tab { color: " + CssColor(defaults.tabcolor) + "; }\n";
  out += "</style>\n</head>\n<body>\n<pre>";
  const ColoredRun* open = nullptr;
  ForEachCharacter(text, runs, [&](long, std::string_view ch, const ColoredRun* run) {
    if (run != open) {
      if (open) out += "</span>";
      if (run) out += std::string("<span class=\"") + KindName(run->kind) + "\">";
      open = run;
    }
    std::array<char, 4> buffer;
    AppendHtmlEscaped(out, Visible(ch, buffer));
  });
  if (open) out += "</span>";
  out += "</pre>\n</body>\n</html>\n";
  return out;
}

std::string FormatSpans(const std::string& text, const std::vector<ColoredRun>& runs) {
  std::string out;
  long line = 1;
  long lineStart = 0;
  std::string runText;
  const ColoredRun* open = nullptr;
  long openLine = 0;
  long openColumn = 0;
  long openLength = 0;
  const auto flush = [&] {
    if (!open) return;
    out += std::to_string(openLine) + '\t' + std::to_string(openColumn) + '\t' + std::to_string(openLength) + '\t' +
           KindName(open->kind) + '\t' + runText + '\n';
    open = nullptr;
  };
  ForEachCharacter(text, runs, [&](long pos, std::string_view ch, const ColoredRun* run) {
    const bool lineBreak = ch == "\n";
    // A run never crosses a line: the rest of it starts a new span.
    if (run != open || lineBreak) flush();
    if (run && !lineBreak) {
      if (!open) {
        open = run;
        openLine = line;
        openColumn = pos - lineStart;
        openLength = 0;
        runText.clear();
      }
      std::array<char, 4> buffer;
      runText += Visible(ch, buffer);
      ++openLength;
    }
    if (lineBreak) {
      ++line;
      lineStart = pos + 1;
    }
  });
  flush();
  return out;
}

}  // namespace sonavel::cli
