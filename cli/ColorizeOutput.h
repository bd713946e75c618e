#pragma once
// The coloured views of a song that `sonavel-cli colorize` prints, written
// line by line as the lines are coloured.

#include <string>

#include "cli/CommandLine.h"
#include "document/DocumentOptions.h"
#include "document/TextFileReader.h"
#include "view/SongLinePass.h"

namespace sonavel::cli {

class ColorizeWriter {
 public:
  // title: the page title of the HTML view.
  ColorizeWriter(ColorizeFormat format, const DocumentOptions& options, std::string title);

  // Each appends to out: Begin once, Segment for every coloured line or
  // segment of one, End once.
  void Begin(std::string& out) const;
  void Segment(const SongLinePass& segment, const SegmentPlace& place, std::string& out);
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
  long m_column = 0;  // of the next segment's first character
  bool m_lastLineEmpty = true;
  // The span being gathered (spans format).
  Kind m_spanKind = Kind::None;
  long m_spanColumn = 0;
  long m_spanLength = 0;
  std::string m_spanText;
};

}  // namespace sonavel::cli
