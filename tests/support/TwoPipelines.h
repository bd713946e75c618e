#pragma once
// The editor's pipeline (F5 then Shift+F7 on a whole text in a control) and
// the command-line tool's (the same, one line or segment at a time), run on
// one text for comparison. Both give the colour of every position, line breaks
// included, the transposed text with LF line breaks, and the counts.

#include <string>
#include <string_view>
#include <vector>

#include "document/TextEncoding.h"
#include "view/MemoryTextControl.h"
#include "view/SongLinePass.h"
#include "view/ViewCommands.h"

namespace sonavel::test {

struct PipelineResult {
  std::vector<ColorRef> colors;
  std::string text;
  long chords = 0;
  long tabs = 0;
  friend bool operator==(const PipelineResult&, const PipelineResult&) = default;
};

inline PipelineResult ThroughControl(std::string_view utf8, DocumentOptions options) {
  MemoryTextControl control(options.textcolor);
  control.SetText(utf8);
  ViewCommands commands(control, options);
  commands.Colorize(false, false);
  PipelineResult result;
  for (long p = 0; p < control.Length(); ++p) result.colors.push_back(control.ColorAt(p));
  const TransposeCounts counts = commands.OnQuickTranspose();
  result.text = control.Text();
  result.chords = counts.chords;
  result.tabs = counts.tabs;
  return result;
}

// inSegments: each line handed on in segments cut after every space and
// tab, the finest cut the command-line tool makes in a long line.
inline PipelineResult LineByLine(std::string_view utf8, const DocumentOptions& options, bool inSegments = false) {
  PipelineResult result;
  TransposeCounts counts;
  SongLinePass pass(options);
  std::string scratch;
  ForEachLine(utf8, [&](std::string_view line, bool lineBreak) {
    std::size_t from = 0;
    do {
      const std::size_t cut = inSegments ? line.find_first_of(" \t", from) : std::string_view::npos;
      const std::size_t end = cut == std::string_view::npos ? line.size() : cut + 1;
      if (from == 0) pass.Colorize(line.substr(0, end));
      else pass.ColorizeContinued(line.substr(from, end - from));
      pass.ForEachPiece([&](const SongLinePass::Piece& piece) {
        result.colors.insert(result.colors.end(), static_cast<std::size_t>(piece.characters), piece.color);
      });
      result.text += pass.Transposed(scratch, counts);
      from = end;
    } while (from < line.size());
    if (lineBreak) {
      result.colors.push_back(options.textcolor);
      result.text += '\n';
    }
  });
  result.chords = counts.chords;
  result.tabs = counts.tabs;
  return result;
}

}  // namespace sonavel::test
