// sonavel-cli: transpose or colour a song file from the command line.

#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/CliCommands.h"
#include "cli/UserDefaults.h"
#include "engine/NoteTable.h"

int main(int argc, char** argv) {
  sonavel::BuildChordTable();
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  sonavel::cli::CliStreams streams{std::cout, std::cerr, isatty(STDOUT_FILENO) != 0};
  return sonavel::cli::RunCli(args, sonavel::cli::LoadUserDefaults(), streams);
}
