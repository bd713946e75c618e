// Parsing the command line of sonavel-cli.

#include <gtest/gtest.h>

#include "cli/CommandLine.h"
#include "engine/NoteTable.h"

namespace sonavel::cli {
namespace {

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> args;
  std::size_t pos = 0;
  while (pos < line.size()) {
    const std::size_t space = line.find(' ', pos);
    args.push_back(line.substr(pos, space - pos));
    if (space == std::string::npos) break;
    pos = space + 1;
  }
  return args;
}

TEST(CommandLine, TransposeOptionsInEveryForm) {
  struct Case {
    const char* line;
    int steps;
    int key;
  };
  const Case cases[] = {
      {"transpose -s 3 f", 3, -1},     {"transpose -s3 f", 3, -1},         {"transpose --steps=-4 f", -4, -1},
      {"transpose --steps -4 f", -4, -1}, {"transpose -s +2 -k Bb f", 2, 20}, {"transpose f --key 7", -1, 7},
      {"transpose --key=F# f", -1, 10},  {"transpose -k C f", -1, 0},        {"transpose -kEb f", -1, 16},
  };
  BuildChordTable();
  for (const Case& c : cases) {
    const ParseResult r = ParseCommandLine(Split(c.line));
    ASSERT_TRUE(r.ok()) << c.line << ": " << r.error;
    EXPECT_EQ(r.request.command, Command::Transpose);
    EXPECT_EQ(r.request.file, "f") << c.line;
    EXPECT_EQ(r.request.transpose.steps.value_or(-1), c.steps) << c.line;
    EXPECT_EQ(r.request.transpose.key.value_or(-1), c.key) << c.line;
  }
}

TEST(CommandLine, FlagsAndOutput) {
  const ParseResult r = ParseCommandLine(
      Split("transpose --b-is-bb --no-chords --no-tabs --tab-min 2 --tab-max=30 --brackets -o out.crd song.crd"));
  ASSERT_TRUE(r.ok()) << r.error;
  const TransposeRequest& t = r.request.transpose;
  EXPECT_EQ(t.bIsBess, true);
  EXPECT_EQ(t.transposeChords, false);
  EXPECT_EQ(t.transposeTabs, false);
  EXPECT_EQ(t.tabMiniValue, 2);
  EXPECT_EQ(t.tabMaxValue, 30);
  EXPECT_EQ(r.request.chordInBrackets, true);
  EXPECT_EQ(t.outputPath, "out.crd");
  EXPECT_FALSE(t.steps.has_value());  // left to the stored settings
}

TEST(CommandLine, ColorizeFormats) {
  EXPECT_EQ(ParseCommandLine(Split("colorize --format html a")).request.format, ColorizeFormat::Html);
  EXPECT_EQ(ParseCommandLine(Split("colorize --format=spans --brackets a")).request.format, ColorizeFormat::Spans);
  EXPECT_FALSE(ParseCommandLine(Split("colorize a")).request.format.has_value());
  EXPECT_EQ(ParseCommandLine(Split("colorize -- --odd-name")).request.file, "--odd-name");
}

TEST(CommandLine, UsageErrors) {
  const char* bad[] = {
      "",
      "frobnicate f",
      "transpose",
      "transpose a b",
      "transpose -s f",
      "transpose -s x f",
      "transpose -s 1.5 f",
      "transpose --steps= f",
      "transpose -k 21 f",
      "transpose -k H f",
      "transpose -k c f",
      "transpose --format html f",
      "transpose --in-place -o x f",
      "transpose --wat f",
      "transpose -s 99999999999 f",
      "colorize --format pdf f",
      "colorize -s 2 f",
      "colorize --in-place f",
      "colorize -",
  };
  for (const char* line : bad) {
    const ParseResult r = ParseCommandLine(line[0] ? Split(line) : std::vector<std::string>{});
    EXPECT_FALSE(r.ok()) << "accepted: " << line;
  }
}

TEST(CommandLine, HelpAnywhere) {
  EXPECT_EQ(ParseCommandLine(Split("--help")).request.command, Command::Help);
  EXPECT_EQ(ParseCommandLine(Split("transpose -s 2 --help")).request.command, Command::Help);
}

}  // namespace
}  // namespace sonavel::cli
