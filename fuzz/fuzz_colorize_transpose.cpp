// Arbitrary bytes through the editor's road: decode as a file would be,
// colorize, transpose with options taken from the input, and check that
// only coloured runs changed and nothing was lost; and that line by line
// the text comes out the same.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "document/TextEncoding.h"
#include "engine/NoteTable.h"
#include "tests/support/TwoPipelines.h"
#include "view/MemoryTextControl.h"
#include "view/ViewCommands.h"

namespace {

// The text outside the chord and tab coloured runs, in order.
std::string Uncoloured(const sonavel::MemoryTextControl& control, const sonavel::DocumentOptions& options) {
  const std::string text = control.Text8();
  std::string out;
  for (long p = 0; p < control.Length(); ++p) {
    const sonavel::ColorRef c = control.ColorAt(p);
    if (c == options.chordcolor || c == options.tabcolor) {
      if (out.empty() || out.back() != '\x01') out += '\x01';
    } else {
      out += text[static_cast<std::size_t>(p)];
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  sonavel::BuildChordTable();
  if (size < 4) return 0;
  sonavel::DocumentOptions options;
  options.transpose.steps = static_cast<std::int8_t>(data[0]);
  options.transpose.key = data[1] % sonavel::kKeyCount;
  options.transpose.bIsBess = data[2] & 1;
  options.chordInBrackets = data[2] & 2;
  options.transpose.tabMiniValue = data[3] % 40;
  options.transpose.tabMaxValue = options.transpose.tabMiniValue + (data[3] >> 2) % 30;
  const std::string bytes(reinterpret_cast<const char*>(data + 4), size - 4);
  const std::string text =
      sonavel::IsValidUtf8(bytes) ? bytes : sonavel::Windows1252ToUtf8(bytes);

  // Line by line, and each line in segments, the text comes out as the
  // whole text in a control does.
  const sonavel::test::PipelineResult editor = sonavel::test::ThroughControl(text, options);
  if (!(sonavel::test::LineByLine(text, options) == editor)) std::abort();
  if (!(sonavel::test::LineByLine(text, options, true) == editor)) std::abort();

  sonavel::MemoryTextControl control;
  control.SetText(text);
  const long length = control.Length();
  // A selection taken from the input exercises the widening rules.
  const long a = length ? static_cast<long>(data[0] * 131u % static_cast<unsigned>(length + 1)) : 0;
  const long b = length ? static_cast<long>(data[1] * 257u % static_cast<unsigned>(length + 1)) : 0;
  control.SetSel(a, b);
  sonavel::ViewCommands commands(control, options);
  commands.Colorize(data[2] & 4, false);
  const std::string before = Uncoloured(control, options);
  const sonavel::Selection selBefore = control.GetSel();
  commands.OnQuickTranspose();
  if (Uncoloured(control, options) != before) std::abort();
  // A selection keeps its start, unless the text shrank below it.
  if (!selBefore.IsEmpty() && control.GetSel().start != std::min(selBefore.start, control.Length())) std::abort();
  if (control.GetSel().start > control.GetSel().end) std::abort();
  if (!sonavel::IsValidUtf8(control.Text())) std::abort();
  commands.OnFindNextChord();
  return 0;
}
