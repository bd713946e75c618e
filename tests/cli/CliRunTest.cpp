// Running sonavel-cli: its command line, what it prints and writes, every
// real song against its golden file, and the program itself.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string_view>
#include <tuple>
#include <utility>

#include "cli/CliCommands.h"
#include "engine/NoteTable.h"
#include "tests/support/Songs.h"
#include "tests/support/TempFiles.h"

namespace sonavel::cli {
namespace {

namespace fs = std::filesystem;
using namespace std::string_view_literals;

std::vector<std::string> Split(const std::string& line) {
  std::istringstream words(line);
  return {std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()};
}

// The golden files run every flag in its separate form ("-s 1", "-k 3",
// "--tab-max 5"); these are the other spellings.
TEST(CommandLine, ReadsTheOptionsInEveryForm) {
  BuildChordTable();
  const struct {
    const char* line;
    int steps, key;  // -1: not given, left to the stored settings
  } rows[] = {
      {"transpose -s3 f", 3, -1},         {"transpose --steps=-4 f", -4, -1}, {"transpose --steps -4 f", -4, -1},
      {"transpose -s +2 -k Bb f", 2, 20}, {"transpose f --key 7", -1, 7},     {"transpose --key=F# f", -1, 10},
      {"transpose -kEb f", -1, 16},
  };
  for (const auto& row : rows) {
    const ParseResult r = ParseCommandLine(Split(row.line));
    ASSERT_TRUE(r.ok()) << row.line << ": " << r.error;
    EXPECT_EQ(r.request.files, std::vector<std::string>{"f"}) << row.line;
    EXPECT_EQ(r.request.transpose.steps.value_or(-1), row.steps) << row.line;
    EXPECT_EQ(r.request.transpose.key.value_or(-1), row.key) << row.line;
  }
  EXPECT_EQ(ParseCommandLine(Split("colorize --format=spans --brackets a")).request.format, ColorizeFormat::Spans);
  EXPECT_EQ(ParseCommandLine(Split("colorize -- --odd-name -")).request.files,
            (std::vector<std::string>{"--odd-name", "-"}));
  EXPECT_EQ(ParseCommandLine(Split("transpose -q")).request.files, std::vector<std::string>{"-"});
  EXPECT_EQ(ParseCommandLine(Split("transpose -s 2 --help")).request.command, Command::Help);
  // Of two options that undo each other, the last counts.
  const CliRequest both = ParseCommandLine(Split("transpose --no-chords --b-is-bb --chords --b-is-b f")).request;
  EXPECT_EQ(std::tuple(both.transpose.transposeChords, both.transpose.bIsBess), std::tuple(true, false));
}

TEST(CommandLine, RefusesWhatMakesNoSenseSayingWhy) {
  const std::pair<const char*, const char*> rows[] = {
      {"", "no command given"},
      {"frobnicate f", "unknown command 'frobnicate'"},
      {"--frob transpose f", "unknown option '--frob'"},
      {"transpose --wat f", "unknown option '--wat'"},
      {"transpose -s f", "option --steps needs a whole number, not 'f'"},
      {"transpose -s 1.5 f", "option --steps needs a whole number, not '1.5'"},
      {"transpose -s 99999999999 f", "option --steps needs a whole number, not '99999999999'"},
      {"transpose --tab-max=x f", "option --tab-max needs a whole number, not 'x'"},
      {"transpose -o", "option --output needs a value"},
      {"transpose -k 21 f", "unknown key '21' (give 0..20 or a major key name such as C, F#, Bb)"},
      {"transpose --format html f", "option --format applies to colorize only"},
      {"colorize -s2 f", "option --steps applies to transpose only"},
      {"colorize --in-place f", "option --in-place applies to transpose only"},
      {"colorize --format pdf f", "option --format takes ansi, html or spans"},
      {"transpose --in-place=yes f", "option --in-place takes no value"},
      {"transpose --in-place -o x f", "--in-place and --output cannot be used together"},
      {"transpose --in-place", "--in-place needs a file; standard input cannot be replaced"},
      {"transpose -o x a b", "--output takes one file, not 2"},
      {"colorize - -", "standard input ('-') given more than once"},
  };
  for (const auto& [line, error] : rows) EXPECT_EQ(ParseCommandLine(Split(line)).error, error) << line;
}

// A fresh folder per test; in a command line "@name" stands for the file of
// that name in it, and "plain" is a file where a folder is wanted.
class CliFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildChordTable();
    std::ofstream(m_dir / "plain") << "x";
  }

  std::string Read(const std::string& name) const { return test::ReadFile(m_dir / name); }
  struct Result {
    int status;
    std::string out, err;
  };
  Result Run(const std::string& line, std::size_t segmentWindow = kSegmentWindow) const {
    std::vector<std::string> args = Split(line);
    for (std::string& arg : args) {
      if (arg[0] == '@') arg = (m_dir / arg.substr(1)).string();
    }
    std::ostringstream out;
    std::ostringstream err;
    CliStreams streams{out, err, false};
    const int status = RunCli(args, DocumentOptions{}, streams, segmentWindow);
    return {status, out.str(), err.str()};
  }
  // The real program, in a shell command where "sonavel-cli" stands for it;
  // its settings folder is an empty one. A program that spins is stopped by
  // its CPU time, so that it cannot outlive the test.
  Result RunProgram(const std::string& command) const {
    fs::create_directory(m_dir / "config");
    std::string line = "ulimit -t 30; XDG_CONFIG_HOME='" + (m_dir / "config").string() + "'; export XDG_CONFIG_HOME; " +
                       command;
    line = std::regex_replace(line, std::regex("sonavel-cli"), "'" SONAVEL_CLI_PATH "'");
    line = std::regex_replace(line, std::regex("@"), m_dir.string() + "/");
    const std::string redirected = "{ " + line + "; } >'" + (m_dir / "stdout").string() + "' 2>'" +
                                   (m_dir / "stderr").string() + "'";
    const int status = std::system(("sh -c \"" + redirected + "\"").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Read("stdout"), Read("stderr")};
  }

  const test::TempDirectory m_temp;
  const fs::path m_dir = m_temp.path;
};

struct RunCase {
  const char* name;
  std::string_view input;  // written to @in
  const char* args;
  int status;
  std::string_view out;
  const char* err;      // a part of standard error
  const char* inAfter = nullptr;  // null: as it was
  const char* outFile = nullptr;  // written to @out; null: none written
  std::size_t segmentWindow = kSegmentWindow;
};

void PrintTo(const RunCase& c, std::ostream* out) { *out << c.name; }

class CliRun : public CliFolder, public ::testing::WithParamInterface<RunCase> {};

TEST_P(CliRun, PrintsAndWritesWhatItShould) {
  const RunCase& c = GetParam();
  std::ofstream(m_dir / "in", std::ios::binary) << c.input;
  const Result r = Run(c.args, c.segmentWindow);
  EXPECT_EQ(r.status, c.status);
  EXPECT_EQ(r.out, c.out);
  EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
  EXPECT_EQ(Read("in"), c.inAfter ? c.inAfter : c.input);
  EXPECT_EQ(fs::exists(m_dir / "out") ? Read("out") : "(none)", c.outFile ? c.outFile : "(none)");
  EXPECT_EQ(Read("plain"), "x");
}

const RunCase kRuns[] = {
    {"TransposesToStandardOutput", "C   G\nla la\ne|-3-|\n", "transpose -s 2 @in", kTransposed,
     "D   A\r\nla la\r\ne|-5-|\r\n", "2 chords and 1 tablature transposed.\n"},
    {"NothingTransposedLeavesTheFileAlone", "just words\n", "transpose --in-place @in", kNothingTransposed, "",
     "No chords or tablatures were transposed."},
    {"NothingTransposedStillWritesTheOutput", "words\n", "transpose --no-chords --no-tabs -o @out @in",
     kNothingTransposed, "", "", nullptr, "words\r\n"},
    {"InPlaceKeepsWindows1252", "Am\r\nS\xE5 sk\xF6n\r\n", "transpose --in-place -s -2 @in", kTransposed, "", "",
     "Gm\r\nS\xE5 sk\xF6n\r\n"},
    {"Utf16WithTabsStaysUtf16", "\377\376C\0\t\0G\0\n\0"sv, "transpose @in", kTransposed,
     "\377\376C\0#\0\t\0G\0#\0\r\0\n\0"sv, ""},
    {"MissingFileIsNamed", "", "transpose @out", kUsageOrFileError, "", "out: "},
    {"DeviceIsRefused", "", "transpose /dev/null", kUsageOrFileError, "", "/dev/null: Not a regular file"},
    {"UnwritableOutputLeavesNothing", "C\n", "transpose -o @plain/out @in", kUsageOrFileError, "", "plain/out: "},
    // A song must not set the window title or the clipboard of the terminal;
    // the prompt after it starts on a line of its own.
    {"AnsiShowsControlCharacters", "C \x1b]0;x\x07 \x7f\xc2\x9b\t\x01\xc3\xa5 <&\">", "colorize --format ansi @in",
     kSuccess, "\x1b[38;2;0;0;255mC\x1b[0m ^[]0;x^G ^?M-^[\t^A\xc3\xa5 <&\">\n", ""},
    {"InPlaceRefusesBytesItCannotKeep", "C\0x\nD\n"sv, "transpose --in-place @in", kUsageOrFileError, "",
     "holds bytes that cannot be kept: 1 NUL byte (and 1 byte after them on their lines); not replaced"},
    {"InPlaceRefusesDamagedCharacters", "\xEF\xBB\xBF" "C\xC3\n", "transpose --in-place @in", kUsageOrFileError, "",
     "holds bytes that cannot be kept: 1 damaged character; not replaced"},
    {"ForceReplacesThemAllTheSame", "C\0x\nD\n"sv, "transpose --in-place --force @in", kTransposed, "", "",
     "C#\r\nD#\r\n"},
    {"UsageError", "", "transpose --steps many @in", kUsageOrFileError, "", "Try 'sonavel-cli --help'"},
    // Each file in turn, whatever became of the one before; the worst status.
    {"SeveralFilesEachNamed", "C\n", "transpose --in-place @missing @in @plain", kUsageOrFileError, "",
     "/in: 1 chord and 0 tablatures transposed.\n", "C#\r\n"},
    {"SeveralFilesToStandardOutputInTurn", "C\n", "colorize --format spans @in @plain", kSuccess,
     "1\t0\t1\tchord\tC\n", ""},
    {"Version", "", "--version", kSuccess, "sonavel-cli " SONAVEL_VERSION "\n", ""},
    // Cut after every space: a bracket stays open across the cuts, and the
    // second line starts afresh.
    {"BracketOpenAcrossSegments", "[C D]\tE [F\nG\n", "transpose --brackets -s 2 @in", kTransposed,
     "[D E]\tE [G\r\nG\r\n", "3 chords", nullptr, nullptr, 1},
};

INSTANTIATE_TEST_SUITE_P(Cli, CliRun, ::testing::ValuesIn(kRuns), ::testing::PrintToStringParamName());

TEST_F(CliFolder, HtmlIsAStandalonePageColouredAsTheEditor) {
  std::ofstream(m_dir / "a&b.crd", std::ios::binary) << "<C> & D \"x\"\n";
  const Result r = Run("colorize --format html @a&b.crd");
  EXPECT_EQ(r.status, kSuccess);
  EXPECT_NE(r.out.find("<title>a&amp;b.crd</title>"), std::string::npos);
  EXPECT_NE(r.out.find("&lt;<span class=\"chord\">C</span>&gt; &amp; <span class=\"chord\">D</span> &quot;x&quot;"),
            std::string::npos);
  EXPECT_NE(r.out.find("#0000ff"), std::string::npos);
}

// Every real song through sonavel-cli, against its golden file: the runs
// `colorize` finds, and for several transpositions the exit status, the
// message and a digest of the bytes written. A change of any output byte
// shows here. After a change meant to alter the output, run the test
// program with SONAVEL_UPDATE_GOLDEN=1 to write the files anew, and read
// their diff.
SONGS_PRESENT_TEST()

const char* const kTranspositions[] = {
    "-s 1",
    "-s 2 -k 0",
    "-s -3 -k 3",
    "-s 5 -k 18 --b-is-bb",
    "-s 7 --tab-min 12 --tab-max 24",
    "-s 0 -k 17 --brackets",
    "-s -12 --no-chords",
    "-s 11 --no-tabs --tab-max 5",
};

std::string Fnv1a64(const std::string& bytes) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return hex;
}

class GoldenSongs : public CliFolder, public ::testing::WithParamInterface<test::Song> {};
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(GoldenSongs);

// Cut in segments after every space and tab (a window of one byte), or
// after some, each song gives the same bytes as read line by line.
// The ANSI and HTML views are not in the golden files, only compared so.
TEST_P(GoldenSongs, GiveTheirGoldenOutput) {
  const auto outputs = [this](std::size_t window) {
    const Result spans = Run("colorize --format spans " + GetParam().path, window);
    std::string golden = "colorize --format spans: " + std::to_string(spans.status) + "\n" + spans.out;
    for (const char* transposition : kTranspositions) {
      const Result r = Run("transpose " + std::string(transposition) + " " + GetParam().path, window);
      golden += "transpose " + std::string(transposition) + ": " + std::to_string(r.status) + " " + Fnv1a64(r.out) +
                " " + r.err.substr(0, r.err.find('\n')) + "\n";
    }
    std::string views;
    for (const char* format : {"ansi", "html"}) {
      views += Run("colorize --format " + std::string(format) + " " + GetParam().path, window).out;
    }
    return std::pair(golden, views);
  };
  const auto whole = outputs(kSegmentWindow);
  const std::string& actual = whole.first;
  for (const std::size_t window : {std::size_t{1}, std::size_t{6}}) {
    EXPECT_EQ(outputs(window), whole) << "in segments of " << window;
  }
  const std::string path = std::string(SONAVEL_GOLDEN_DIR) + "/" + GetParam().name + ".golden";
  if (const char* update = std::getenv("SONAVEL_UPDATE_GOLDEN"); update != nullptr && *update != '\0') {
    std::ofstream(path, std::ios::binary) << actual;
    return;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << path << " is missing: run with SONAVEL_UPDATE_GOLDEN=1";
  const std::string expected{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(actual, expected);
}

INSTANTIATE_TEST_SUITE_P(Songs, GoldenSongs, ::testing::ValuesIn(test::Songs()), test::SongTestName);

// The program itself: standard input from a pipe (read once, so that a
// Windows-1252 letter found late makes it be held whole) or from a file,
// quiet, reading the settings without creating a store, and running out of
// memory as an error like any other, not an abort.
TEST_F(CliFolder, TheProgramReadsStandardInputAndExitsAsDocumented) {
  const std::string lyric(100'000, 'x');
  std::ofstream(m_dir / "late", std::ios::binary) << "C\n" + lyric + "\xE5\n";
  std::ofstream(m_dir / "song.crd") << "C G\n";
  const std::string transposed = "C#\r\n" + lyric + "\xE5\r\n";
  const struct {
    const char* command;
    int status;
    std::string out;
    const char* err;
  } rows[] = {
      {"cat @late | sonavel-cli transpose -s 1", kTransposed, transposed, "1 chord and 0 tablatures transposed.\n"},
      {"sonavel-cli transpose -s 1 - <@late", kTransposed, transposed, "1 chord and 0 tablatures transposed.\n"},
      {"sonavel-cli transpose -q -s 1 @song.crd - <@plain", kNothingTransposed, "C# G#\r\nx", ""},
      // A file read on from where another program left it is held, not read again from its start.
      {"{ dd bs=1 count=2 of=/dev/null 2>/dev/null; sonavel-cli transpose -q; } <@late", kNothingTransposed,
       lyric + "\xE5\r\n", ""},
      {"sonavel-cli colorize --format spans --brackets </dev/null", kSuccess, "", ""},
      {"sonavel-cli colorize </", kUsageOrFileError, "", "sonavel-cli: (standard input): Read error: Is a directory\n"},
#if !defined(__SANITIZE_ADDRESS__)  // the sanitizer reserves more address space than any limit allows
      // A line is held whole only where it has no space or tab: a 40 MB
      // line of digits needs more than 50 MB, a 40 MB line of chords does not.
      {"ulimit -v 50000; printf %040000000d 0 | sonavel-cli colorize", kUsageOrFileError, "",
       "sonavel-cli: (standard input): Not enough memory for this file\n"},
      {"yes C | head -c 40000000 | tr '\\n' ' ' >@chords; ulimit -v 50000; "
       "sonavel-cli transpose -s 1 @chords >/dev/null",
       kTransposed, "", "20000000 chords and 0 tablatures transposed.\n"},
#endif
  };
  for (const auto& row : rows) {
    const Result r = RunProgram(row.command);
    EXPECT_EQ(std::tie(r.status, r.out, r.err), std::tie(row.status, row.out, row.err)) << row.command;
  }
  EXPECT_TRUE(fs::is_empty(m_dir / "config")) << "the settings were only read";
}

}  // namespace
}  // namespace sonavel::cli
