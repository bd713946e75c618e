#pragma once
// The coloured views of a song that `sonavel-cli colorize` prints, written
// line by line as the lines are coloured.

#include <string>

#include "cli/CommandLine.h"
#include "document/DocumentOptions.h"
#include "view/SongLinePass.h"

namespace sonavel::cli {

class ColorizeWriter {
 public:
  // title: the page title of the HTML view.
  ColorizeWriter(ColorizeFormat format, const DocumentOptions& options, std::string title);

  // Each appends to out: Begin once, Line for every coloured line, End once.
  void Begin(std::string& out) const;
  void Line(const SongLinePass& line, bool lineBreak, std::string& out);
  void End(std::string& out) const;

 private:
  enum class Kind { None, Chord, Tab };
  Kind KindOf(ColorRef color) const;
  void Open(Kind kind, std::string& out) const;
  void Close(Kind kind, std::string& out) const;
  void FlushSpan(std::string& out);

  ColorizeFormat m_format;
  DocumentOptions m_options;
  std::string m_title;
  long m_lineNumber = 0;
  bool m_lastLineEmpty = true;
  // The span being gathered (spans format).
  Kind m_spanKind = Kind::None;
  long m_spanColumn = 0;
  long m_spanLength = 0;
  std::string m_spanText;
};

}  // namespace sonavel::cli
