#pragma once
// The two commands of sonavel-cli, runnable in-process for tests.

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

// Everything main() does, given the arguments after the program name.
// Of several files, the exit status is the worst of theirs.
int RunCli(const std::vector<std::string>& args, const DocumentOptions& defaults, CliStreams& streams);

}  // namespace sonavel::cli
