// Running sonavel-cli: its command line, what it prints and writes, and the
// program itself.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "cli/CliCommands.h"
#include "engine/NoteTable.h"

namespace sonavel::cli {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Split(const std::string& line) {
  std::istringstream words(line);
  return {std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()};
}

TEST(CommandLine, ReadsTheOptionsInEveryForm) {
  BuildChordTable();
  const struct {
    const char* line;
    int steps, key;  // -1: not given, left to the stored settings
  } rows[] = {
      {"transpose -s 3 f", 3, -1},         {"transpose -s3 f", 3, -1},         {"transpose --steps=-4 f", -4, -1},
      {"transpose --steps -4 f", -4, -1}, {"transpose -s +2 -k Bb f", 2, 20}, {"transpose f --key 7", -1, 7},
      {"transpose --key=F# f", -1, 10},    {"transpose -kEb f", -1, 16},
  };
  for (const auto& row : rows) {
    const ParseResult r = ParseCommandLine(Split(row.line));
    ASSERT_TRUE(r.ok()) << row.line << ": " << r.error;
    EXPECT_EQ(r.request.file, "f") << row.line;
    EXPECT_EQ(r.request.transpose.steps.value_or(-1), row.steps) << row.line;
    EXPECT_EQ(r.request.transpose.key.value_or(-1), row.key) << row.line;
  }
  const ParseResult r = ParseCommandLine(
      Split("transpose --b-is-bb --no-chords --no-tabs --tab-min 2 --tab-max=30 --brackets -o out.crd song.crd"));
  ASSERT_TRUE(r.ok()) << r.error;
  const TransposeRequest& t = r.request.transpose;
  EXPECT_TRUE(t.bIsBess == true && t.transposeChords == false && t.transposeTabs == false);
  EXPECT_TRUE(t.tabMiniValue == 2 && t.tabMaxValue == 30 && r.request.chordInBrackets == true);
  EXPECT_EQ(t.outputPath, "out.crd");
  EXPECT_EQ(ParseCommandLine(Split("colorize --format=spans --brackets a")).request.format, ColorizeFormat::Spans);
  EXPECT_EQ(ParseCommandLine(Split("colorize -- --odd-name")).request.file, "--odd-name");
  EXPECT_EQ(ParseCommandLine(Split("transpose -s 2 --help")).request.command, Command::Help);
}

TEST(CommandLine, RefusesWhatMakesNoSense) {
  for (const char* line : {"", "frobnicate f", "transpose", "transpose a b", "transpose -s f", "transpose -s x f",
                           "transpose -s 1.5 f", "transpose --steps= f", "transpose -k 21 f", "transpose -k H f",
                           "transpose -k c f", "transpose --format html f", "transpose --in-place -o x f",
                           "transpose --wat f", "transpose -s 99999999999 f", "colorize --format pdf f",
                           "colorize -s 2 f", "colorize --in-place f", "colorize -"}) {
    EXPECT_FALSE(ParseCommandLine(Split(line)).ok()) << "accepted: " << line;
  }
}

struct RunCase {
  const char* name;
  const char* input;  // written to the file "in" of a fresh folder
  const char* args;   // "in" and "out" stand for files of that folder
  int status;
  const char* out;
  const char* err;       // a part of standard error
  const char* inAfter;   // null: as it was
  const char* outFile;   // null: none written
};

void PrintTo(const RunCase& c, std::ostream* out) { *out << c.name; }

class CliRun : public ::testing::TestWithParam<RunCase> {
 protected:
  void SetUp() override {
    BuildChordTable();
    char pattern[] = "/tmp/sonavel-cli-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_dir = pattern;
  }
  void TearDown() override { fs::remove_all(m_dir); }

  std::string Read(const std::string& name) const {
    std::ifstream in(m_dir / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  fs::path m_dir;
};

TEST_P(CliRun, PrintsAndWritesWhatItShould) {
  const RunCase& c = GetParam();
  std::ofstream(m_dir / "in", std::ios::binary) << c.input;
  std::vector<std::string> args = Split(c.args);
  for (std::string& arg : args) {
    if (arg == "in" || arg == "out" || arg == "plain/out") arg = (m_dir / arg).string();
  }
  std::ofstream(m_dir / "plain") << "x";  // a file where a folder is wanted
  std::ostringstream out;
  std::ostringstream err;
  CliStreams streams{out, err, false};
  EXPECT_EQ(RunCli(args, DocumentOptions{}, streams), c.status);
  EXPECT_EQ(out.str(), c.out);
  EXPECT_NE(err.str().find(c.err), std::string::npos) << err.str();
  EXPECT_EQ(Read("in"), c.inAfter ? c.inAfter : c.input);
  EXPECT_EQ(fs::exists(m_dir / "out"), c.outFile != nullptr);
  if (c.outFile) EXPECT_EQ(Read("out"), c.outFile);
  EXPECT_EQ(Read("plain"), "x");
}

const RunCase kRuns[] = {
    {"TransposesToStandardOutput", "C   G\nla la\ne|-3-|\n", "transpose -s 2 in", kTransposed,
     "D   A\r\nla la\r\ne|-5-|\r\n", "2 chords and 1 tablature transposed.\n", nullptr, nullptr},
    {"NothingTransposedLeavesTheFileAlone", "just words\n", "transpose --in-place in", kNothingTransposed, "",
     "No chords or tablatures were transposed.", nullptr, nullptr},
    {"NothingTransposedStillWritesTheOutput", "words\n", "transpose --no-chords --no-tabs -o out in",
     kNothingTransposed, "", "", nullptr, "words\r\n"},
    {"InPlaceKeepsWindows1252", "Am\r\nS\xE5 sk\xF6n\r\n", "transpose --in-place -s -2 in", kTransposed, "", "",
     "Gm\r\nS\xE5 sk\xF6n\r\n", nullptr},
    {"BracketsLimitTheChords", "[Am]la C", "transpose --brackets in", kTransposed, "[A#m]la C", "", nullptr, nullptr},
    {"MissingFileIsNamed", "", "transpose out", kUsageOrFileError, "", "out: ", nullptr, nullptr},
    {"UnwritableOutputLeavesNothing", "C\n", "transpose -o plain/out in", kUsageOrFileError, "", "plain/out: ",
     nullptr, nullptr},
    {"Spans", "x \xC3\xA5 Am7/G\r\n|-12-|\r\n", "colorize --format spans in", kSuccess,
     "1\t4\t3\tchord\tAm7\n1\t8\t1\tchord\tG\n2\t2\t2\ttab\t12\n", "", nullptr, nullptr},
    {"Ansi", "C -3-", "colorize --format ansi in", kSuccess,
     "\x1b[38;2;0;0;255mC\x1b[0m -\x1b[38;2;255;0;0m3\x1b[0m-\n", "", nullptr, nullptr},
    {"UsageError", "", "transpose --steps many in", kUsageOrFileError, "", "Try 'sonavel-cli --help'", nullptr,
     nullptr},
};

INSTANTIATE_TEST_SUITE_P(Cli, CliRun, ::testing::ValuesIn(kRuns),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CliHtml, IsAStandalonePageColouredAsTheEditor) {
  BuildChordTable();
  const std::string path = "/tmp/sonavel-cli-a&b.crd";
  std::ofstream(path, std::ios::binary) << "<C> & D\n";
  std::ostringstream out;
  std::ostringstream err;
  CliStreams streams{out, err, false};
  EXPECT_EQ(RunCli({"colorize", "--format", "html", path}, DocumentOptions{}, streams), kSuccess);
  fs::remove(path);
  const std::string html = out.str();
  EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(html.find("<title>sonavel-cli-a&amp;b.crd</title>"), std::string::npos);
  EXPECT_NE(html.find("&lt;<span class=\"chord\">C</span>&gt; &amp; <span class=\"chord\">D</span>"),
            std::string::npos);
  EXPECT_NE(html.find("#0000ff"), std::string::npos);
}

// The program itself: its exit status, and that reading the settings
// creates no store.
TEST(CliProgram, ExitsAsDocumentedAndCreatesNoStore) {
  char pattern[] = "/tmp/sonavel-home-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const auto run = [&pattern](const std::string& args, std::string& output) {
    const std::string command = "XDG_CONFIG_HOME='" + std::string(pattern) + "' '" SONAVEL_CLI_PATH "' " + args;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    output.clear();
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  std::string output;
  EXPECT_EQ(run("--help", output), 0);
  EXPECT_NE(output.find("sonavel-cli transpose"), std::string::npos);
  EXPECT_EQ(run("transpose --steps many x", output), 2);
  EXPECT_EQ(run("", output), 2);
  std::ofstream(std::string(pattern) + "/song.crd") << "C G\n";
  EXPECT_EQ(run("transpose -s 1 " + std::string(pattern) + "/song.crd", output), 0);
  EXPECT_EQ(output, "C# G#\r\n");
  fs::remove(std::string(pattern) + "/song.crd");
  EXPECT_TRUE(fs::is_empty(pattern)) << "the settings were only read";
  fs::remove_all(pattern);
}

}  // namespace
}  // namespace sonavel::cli
