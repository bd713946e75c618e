#pragma once
// The command line of sonavel-cli, parsed into a request. Options not given
// stay unset so that the user's stored settings can fill them in.

#include <optional>
#include <string>
#include <vector>

namespace sonavel::cli {

enum class Command { Help, Version, Transpose, Colorize };
enum class ColorizeFormat { Ansi, Html, Spans };

struct TransposeRequest {
  std::optional<int> steps;
  std::optional<int> key;
  std::optional<bool> bIsBess;
  std::optional<bool> transposeChords;
  std::optional<bool> transposeTabs;
  std::optional<int> tabMiniValue;
  std::optional<int> tabMaxValue;
  std::optional<std::string> outputPath;
  bool inPlace = false;
  bool force = false;  // replace a file even when reading it lost bytes
};

struct CliRequest {
  Command command = Command::Help;
  std::optional<bool> chordInBrackets;
  TransposeRequest transpose;
  std::optional<ColorizeFormat> format;  // unset: ANSI on a terminal, spans otherwise
  bool quiet = false;                    // errors only on standard error
  // In the order given; "-" is standard input, which no files stands for too.
  std::vector<std::string> files;
};

// How standard input is named in what the tool prints.
inline constexpr const char* kStandardInputName = "(standard input)";

struct ParseResult {
  CliRequest request;
  std::string error;  // non-empty for a usage error
  bool ok() const { return error.empty(); }
};

ParseResult ParseCommandLine(const std::vector<std::string>& args);

// A key given as its row number (0..20) or as the major name the Transpose
// dialog lists (C, D, ..., C#, ..., Bb).
std::optional<int> ParseKey(const std::string& text);

std::string UsageText();

}  // namespace sonavel::cli
