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

// The request's options applied over the user's defaults.
DocumentOptions ApplyRequest(const CliRequest& request, DocumentOptions defaults);

int RunTranspose(const CliRequest& request, const DocumentOptions& defaults, CliStreams& streams);
int RunColorize(const CliRequest& request, const DocumentOptions& defaults, CliStreams& streams);

// Everything main() does, given the arguments after the program name.
int RunCli(const std::vector<std::string>& args, const DocumentOptions& defaults, CliStreams& streams);

}  // namespace sonavel::cli
