#pragma once
// The two commands of sonavel-cli, runnable in-process for tests.

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "document/DocumentOptions.h"

namespace sonavel::cli {

enum ExitStatus { kTransposed = 0, kSuccess = 0, kNothingTransposed = 1, kUsageOrFileError = 2 };

struct CliStreams {
  std::ostream& out;
  std::ostream& err;
  bool outIsTerminal = false;
};

// The most of a line coloured at once: a long line is handed on in segments
// of at most this many bytes, cut after a space or tab, so that a song that
// is one enormous line takes little more memory than one with many lines.
// The painted runs of a segment may take twelve times its size.
constexpr std::size_t kSegmentWindow = 256 * 1024;

// Everything main() does, given the arguments after the program name.
// Of several files, the exit status is the worst of theirs. Tests shrink
// the window to cut ordinary songs in many places.
int RunCli(const std::vector<std::string>& args, const DocumentOptions& defaults, CliStreams& streams,
           std::size_t segmentWindow = kSegmentWindow);

}  // namespace sonavel::cli
